#include "engine/known_fields.h"

namespace talveron {

KnownFields KnownFields::Find(const LayoutTable& layouts) {
    KnownFields found;
    const RecordLayout& dose = layouts.of(RecordType::Dose);
    found.dose.employeeId = FindField(dose, "Employee_ID");
    found.dose.idType = FindField(dose, "ID_Type");
    found.dose.birthDate = FindField(dose, "Birth_Date");
    found.dose.monitoringStart = FindField(dose, "Monitoring_Start");
    found.dose.monitoringEnd = FindField(dose, "Monitoring_End");
    found.dose.firstName = FindField(dose, "First_Name");
    found.dose.lastName = FindField(dose, "Last_Name");
    found.dose.cede = FindField(dose, "CEDE");
    found.dose.cde = FindField(dose, "CDE");
    found.dose.tode = FindField(dose, "TODE");
    found.dose.dde = FindField(dose, "DDE");
    found.dose.tede = FindField(dose, "TEDE");
    found.dose.lde = FindField(dose, "LDE");
    found.dose.sdeWb = FindField(dose, "SDE_WB");
    found.dose.sdeMe = FindField(dose, "SDE_ME");

    const RecordLayout& intake = layouts.of(RecordType::Intake);
    found.intake.employeeId = FindField(intake, "Employee_ID");
    found.intake.idType = FindField(intake, "ID_Type");
    found.intake.classField = FindField(intake, "Class");
    found.intake.mode = FindField(intake, "Mode");
    found.intake.intake = FindField(intake, "Intake");

    const RecordLayout& comment = layouts.of(RecordType::Comment);
    found.comment.employeeId = FindField(comment, "Employee_ID");
    found.comment.idType = FindField(comment, "ID_Type");
    return found;
}

}  // namespace talveron
