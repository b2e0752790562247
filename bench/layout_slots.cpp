#include "bench/layout_slots.h"

namespace talveron::bench {

namespace {

LayoutSlots::Identity FindIdentity(const RecordLayout& layout) {
    return {FindField(layout, "Employee_ID"), FindField(layout, "ID_Type"),
            FindField(layout, "Monitoring_Start"), FindField(layout, "Monitoring_End"),
            FindField(layout, "Record_Type")};
}

}  // namespace

LayoutSlots LayoutSlots::Find(const LayoutTable& layouts) {
    LayoutSlots slots;
    const RecordLayout& header = layouts.of(RecordType::Header);
    slots.header = {FindField(header, "License_Number"), FindField(header, "Report_Period"),
                    FindField(header, "Licensee_Name"),  FindField(header, "Contact_Person"),
                    FindField(header, "Contact_Phone"),  FindField(header, "Associated_License_1")};

    const RecordLayout& dose = layouts.of(RecordType::Dose);
    const auto in = [&dose](std::string_view name) { return FindField(dose, name); };
    slots.dose = {FindIdentity(dose),  in("First_Name"), in("Last_Name"),   in("Middle_Initial"),
                  in("Birth_Date"),    in("Sex"),        in("Report_Type"), in("Exposure_Type"),
                  in("CEDE"),          in("CDE"),        in("TODE"),        in("DDE"),
                  in("TEDE"),          in("LDE"),        in("SDE_WB"),      in("SDE_ME"),
                  in("Facility_Code"), in("Occupation")};

    const RecordLayout& intake = layouts.of(RecordType::Intake);
    slots.intake = {FindIdentity(intake), FindField(intake, "Radionuclide"),
                    FindField(intake, "Class"), FindField(intake, "Mode"),
                    FindField(intake, "Intake")};

    const RecordLayout& comment = layouts.of(RecordType::Comment);
    slots.comment = {FindIdentity(comment), FindField(comment, "Comment")};
    return slots;
}

}  // namespace talveron::bench
