#pragma once

#include "config/record_layout.h"

namespace talveron {

/// The ordinals (FindField, 0 when absent) of the fields the rules look up by name, found once
/// per run instead of once per record. Every one is listed in RuleFields(), which the
/// configuration check holds the layouts against.
struct KnownFields {
    struct Dose {
        int employeeId = 0, idType = 0, birthDate = 0, monitoringStart = 0, monitoringEnd = 0;
        int firstName = 0, lastName = 0;
        int cede = 0, cde = 0, tode = 0, dde = 0, tede = 0, lde = 0, sdeWb = 0, sdeMe = 0;
    } dose;
    struct Intake {
        int employeeId = 0, idType = 0, classField = 0, mode = 0, intake = 0;
    } intake;
    struct Comment {
        int employeeId = 0, idType = 0;
    } comment;

    static KnownFields Find(const LayoutTable& layouts);
};

}  // namespace talveron
