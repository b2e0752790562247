#include "engine/registration.h"

#include "config/number.h"
#include "engine/date_value.h"
#include "engine/record_context.h"

namespace talveron {

DoseRegistration::DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                                   const LocalDateTime& runStart, DoseRegister& doses)
    : layouts_(layouts), fields_(fields), runStart_(runStart), doses_(doses) {}

std::string_view DoseRegistration::value(int ordinal) const {
    if (ordinal < 1 || static_cast<std::size_t>(ordinal) > values_.size()) return {};
    return values_[static_cast<std::size_t>(ordinal - 1)];
}

void DoseRegistration::registerLine(std::string_view line, std::int64_t lineNumber) {
    if (line.size() < 41) return;
    if (line[40] == 'D') registerDose(line, lineNumber);
    else if (line[40] == 'I') registerIntake(line, lineNumber);
}

void DoseRegistration::registerDose(std::string_view line, std::int64_t lineNumber) {
    ExtractFields(line, layouts_.of(RecordType::Dose), values_);
    const KnownFields::Dose& dose = fields_.dose;
    DoseListEntry entry;
    entry.key = MakePersonKey(value(dose.idType), value(dose.employeeId));
    entry.tede = ParseNumber(value(dose.tede));
    entry.startDays = static_cast<std::int32_t>(DayNumber(value(dose.monitoringStart), runStart_));
    entry.endDays = static_cast<std::int32_t>(DayNumber(value(dose.monitoringEnd), runStart_));
    doses_.addDose(entry);
    doses_.addTotals(ParseNumber(value(dose.cede)), ParseNumber(value(dose.cde)));
    lastDoseLine_ = lineNumber;
}

void DoseRegistration::registerIntake(std::string_view line, std::int64_t lineNumber) {
    ExtractFields(line, layouts_.of(RecordType::Intake), values_);
    doses_.addIntake({lastDoseLine_, lineNumber, ParseNumber(value(fields_.intake.intake))});
}

}  // namespace talveron
