#include "engine/known_fields.h"

#include "config/rule_fields.h"

namespace talveron {

KnownFields KnownFields::Find(const LayoutTable& layouts) {
    using namespace field_names;
    KnownFields found;
    const RecordLayout& dose = layouts.of(RecordType::Dose);
    found.dose.employeeId = FindField(dose, kEmployeeId);
    found.dose.idType = FindField(dose, kIdType);
    found.dose.birthDate = FindField(dose, kBirthDate);
    found.dose.monitoringStart = FindField(dose, kMonitoringStart);
    found.dose.monitoringEnd = FindField(dose, kMonitoringEnd);
    found.dose.firstName = FindField(dose, kFirstName);
    found.dose.lastName = FindField(dose, kLastName);
    found.dose.cede = FindField(dose, kCede);
    found.dose.cde = FindField(dose, kCde);
    found.dose.tode = FindField(dose, kTode);
    found.dose.dde = FindField(dose, kDde);
    found.dose.tede = FindField(dose, kTede);
    found.dose.lde = FindField(dose, kLde);
    found.dose.sdeWb = FindField(dose, kSdeWb);
    found.dose.sdeMe = FindField(dose, kSdeMe);

    const RecordLayout& intake = layouts.of(RecordType::Intake);
    found.intake.employeeId = FindField(intake, kEmployeeId);
    found.intake.idType = FindField(intake, kIdType);
    found.intake.classField = FindField(intake, kClass);
    found.intake.mode = FindField(intake, kMode);
    found.intake.intake = FindField(intake, kIntake);

    const RecordLayout& comment = layouts.of(RecordType::Comment);
    found.comment.employeeId = FindField(comment, kEmployeeId);
    found.comment.idType = FindField(comment, kIdType);
    return found;
}

}  // namespace talveron
