#pragma once

#include "config/record_layout.h"

namespace talveron::bench {

/// The ordinals (FindField; 0 when the layout lacks the field) of every field the generator
/// writes, looked up once so that records are filled by position.
struct LayoutSlots {
    struct Identity {
        int employeeId = 0, idType = 0, monitoringStart = 0, monitoringEnd = 0, recordType = 0;
    };
    struct Header {
        int licenseNumber = 0, reportPeriod = 0, licenseeName = 0, contactPerson = 0;
        int contactPhone = 0, associatedLicense = 0;
    } header;
    struct Dose {
        Identity identity;
        int firstName = 0, lastName = 0, middleInitial = 0, birthDate = 0, sex = 0;
        int reportType = 0, exposureType = 0;
        int cede = 0, cde = 0, tode = 0, dde = 0, tede = 0, lde = 0, sdeWb = 0, sdeMe = 0;
        int facilityCode = 0, occupation = 0;
    } dose;
    struct Intake {
        Identity identity;
        int radionuclide = 0, intakeClass = 0, mode = 0, intake = 0;
    } intake;
    struct Comment {
        Identity identity;
        int comment = 0;
    } comment;

    static LayoutSlots Find(const LayoutTable& layouts);
};

}  // namespace talveron::bench
