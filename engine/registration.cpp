#include "engine/registration.h"

#include <algorithm>
#include <span>

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

void RegisteredLines::clear() {
    records.clear();
    doses.clear();
    intakes.clear();
}

void DoseRegistration::read(std::string_view line, std::int64_t lineNumber,
                            RegisteredLines& lines) const {
    if (IsDoseLine(line)) {
        lines.records.push_back({lineNumber, true});
        lines.doses.push_back(readDose(line));
    } else if (IsIntakeLine(line)) {
        // The last dose record above, if it is among these lines.
        std::int64_t doseLine = 0;
        if (!lines.doses.empty()) {
            auto record = lines.records.rbegin();
            while (!record->dose) ++record;
            doseLine = record->lineNumber;
        }
        lines.records.push_back({lineNumber, false});
        lines.intakes.push_back({doseLine, lineNumber, ParseNumber(FieldValue(line, intake_))});
    }
}

DoseListEntry DoseRegistration::readDose(std::string_view line) const {
    // Only the fields the index needs are cut out of the line: the amounts are read once, by the
    // main pass, which reads them for its checks anyway.
    const auto field = [&](FieldSlice span) { return FieldValue(line, span); };
    DoseListEntry entry;
    entry.key = MakePersonKey(field(dose_.idType), field(dose_.employeeId));
    entry.startDays = static_cast<std::int32_t>(days_.dayNumber(field(dose_.monitoringStart)));
    entry.endDays = static_cast<std::int32_t>(days_.dayNumber(field(dose_.monitoringEnd)));
    return entry;
}

void DoseRegistration::add(const RegisteredLines& lines, std::size_t count) {
    std::size_t doses = lines.doses.size();
    std::size_t intakes = lines.intakes.size();
    if (count < lines.records.size()) {
        doses = static_cast<std::size_t>(std::count_if(
            lines.records.begin(), lines.records.begin() + static_cast<std::ptrdiff_t>(count),
            [](const RegisteredLines::Record& record) { return record.dose; }));
        intakes = count - doses;
    }
    doses_.addDoses(std::span(lines.doses).first(doses));
    for (std::size_t i = 0; i < intakes; ++i) {
        IntakeEntry intake = lines.intakes[i];
        if (intake.doseLine == 0) intake.doseLine = lastDoseLine_;
        doses_.addIntake(intake);
    }
    for (std::size_t i = count; doses > 0 && i-- > 0;) {
        if (lines.records[i].dose) {
            lastDoseLine_ = lines.records[i].lineNumber;
            break;
        }
    }
}

void DoseRegistration::registerLine(std::string_view line, std::int64_t lineNumber) {
    RegisteredLines lines;
    read(line, lineNumber, lines);
    add(lines, lines.records.size());
}

}  // namespace talveron
