#include "engine/registration.h"

#include "config/number.h"

namespace talveron {

namespace {

/// The span of field k of a layout; empty when the layout lacks it.
FieldSlice SpanOf(const RecordLayout& layout, int ordinal) {
    const FieldDef* field = layout.field(ordinal);
    return field ? FieldSlice::Of(*field) : FieldSlice{};
}

}  // namespace

DoseRegistration::DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                                   const LocalDateTime& runStart, DoseRegister& doses)
    : days_(runStart), doses_(doses) {
    const RecordLayout& dose = layouts.of(RecordType::Dose);
    const KnownFields::Dose& known = fields.dose;
    dose_ = {SpanOf(dose, known.idType), SpanOf(dose, known.employeeId),
             SpanOf(dose, known.monitoringStart), SpanOf(dose, known.monitoringEnd)};
    intake_ = SpanOf(layouts.of(RecordType::Intake), fields.intake.intake);
}

RegisteredLine DoseRegistration::read(std::string_view line) const {
    if (IsDoseLine(line)) return readDose(line);
    if (IsIntakeLine(line)) return readIntake(line);
    return {};
}

RegisteredLine DoseRegistration::readDose(std::string_view line) const {
    // Only the fields the index needs are cut out of the line: the amounts are read once, by the
    // main pass, which reads them for its checks anyway.
    const auto field = [&](FieldSlice span) { return FieldValue(line, span); };
    RegisteredLine registered;
    registered.kind = RegisteredLine::Kind::Dose;
    DoseListEntry& entry = registered.dose;
    entry.key = MakePersonKey(field(dose_.idType), field(dose_.employeeId));
    entry.startDays = static_cast<std::int32_t>(days_.dayNumber(field(dose_.monitoringStart)));
    entry.endDays = static_cast<std::int32_t>(days_.dayNumber(field(dose_.monitoringEnd)));
    return registered;
}

RegisteredLine DoseRegistration::readIntake(std::string_view line) const {
    RegisteredLine registered;
    registered.kind = RegisteredLine::Kind::Intake;
    registered.intake = ParseNumber(FieldValue(line, intake_));
    return registered;
}

void DoseRegistration::add(const RegisteredLine& registered, std::int64_t lineNumber) {
    switch (registered.kind) {
        case RegisteredLine::Kind::Dose:
            doses_.addDose(registered.dose);
            lastDoseLine_ = lineNumber;
            break;
        case RegisteredLine::Kind::Intake:
            doses_.addIntake({lastDoseLine_, lineNumber, registered.intake});
            break;
        case RegisteredLine::Kind::None:
            break;
    }
}

}  // namespace talveron
