#include "engine/registration.h"

#include "config/number.h"
#include "engine/date_value.h"
#include "engine/record_context.h"

namespace talveron {

DoseRegistration::DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                                   const LocalDateTime& runStart, DoseRegister& doses)
    : layouts_(layouts), fields_(fields), runStart_(runStart), doses_(doses) {}

std::string_view DoseRegistration::value(std::string_view line, const RecordLayout& layout,
                                         int ordinal) {
    const FieldDef* field = layout.field(ordinal);
    return field ? FieldValue(line, *field) : std::string_view{};
}

RegisteredLine DoseRegistration::read(std::string_view line) const {
    if (IsDoseLine(line)) return readDose(line);
    if (IsIntakeLine(line)) return readIntake(line);
    return {};
}

RegisteredLine DoseRegistration::readDose(std::string_view line) const {
    // Only the six fields the dose list needs are cut out of the line.
    const RecordLayout& layout = layouts_.of(RecordType::Dose);
    const KnownFields::Dose& dose = fields_.dose;
    const auto field = [&](int ordinal) { return value(line, layout, ordinal); };
    RegisteredLine registered;
    registered.kind = RegisteredLine::Kind::Dose;
    DoseListEntry& entry = registered.dose;
    entry.key = MakePersonKey(field(dose.idType), field(dose.employeeId));
    entry.tede = ParseNumber(field(dose.tede));
    entry.startDays = static_cast<std::int32_t>(DayNumber(field(dose.monitoringStart), runStart_));
    entry.endDays = static_cast<std::int32_t>(DayNumber(field(dose.monitoringEnd), runStart_));
    registered.cede = ParseNumber(field(dose.cede));
    registered.cde = ParseNumber(field(dose.cde));
    return registered;
}

RegisteredLine DoseRegistration::readIntake(std::string_view line) const {
    RegisteredLine registered;
    registered.kind = RegisteredLine::Kind::Intake;
    registered.intake =
        ParseNumber(value(line, layouts_.of(RecordType::Intake), fields_.intake.intake));
    return registered;
}

void DoseRegistration::add(const RegisteredLine& registered, std::int64_t lineNumber) {
    switch (registered.kind) {
        case RegisteredLine::Kind::Dose:
            doses_.addDose(registered.dose);
            doses_.addTotals(registered.cede, registered.cde);
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
