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

void DoseRegistration::registerLine(std::string_view line, std::int64_t lineNumber) {
    if (line.size() < 41) return;
    if (line[40] == 'D')
        registerDose(line, lineNumber);
    else if (line[40] == 'I')
        registerIntake(line, lineNumber);
}

void DoseRegistration::registerDose(std::string_view line, std::int64_t lineNumber) {
    // Only the six fields the dose list needs are cut out of the line.
    const RecordLayout& layout = layouts_.of(RecordType::Dose);
    const KnownFields::Dose& dose = fields_.dose;
    const auto field = [&](int ordinal) { return value(line, layout, ordinal); };
    DoseListEntry entry;
    entry.key = MakePersonKey(field(dose.idType), field(dose.employeeId));
    entry.tede = ParseNumber(field(dose.tede));
    entry.startDays = static_cast<std::int32_t>(DayNumber(field(dose.monitoringStart), runStart_));
    entry.endDays = static_cast<std::int32_t>(DayNumber(field(dose.monitoringEnd), runStart_));
    doses_.addDose(entry);
    doses_.addTotals(ParseNumber(field(dose.cede)), ParseNumber(field(dose.cde)));
    lastDoseLine_ = lineNumber;
}

void DoseRegistration::registerIntake(std::string_view line, std::int64_t lineNumber) {
    const std::string_view intake =
        value(line, layouts_.of(RecordType::Intake), fields_.intake.intake);
    doses_.addIntake({lastDoseLine_, lineNumber, ParseNumber(intake)});
}

}  // namespace talveron
