#include "engine/field_validators.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "config/number.h"
#include "config/text.h"
#include "config/value_lists.h"
#include "engine/calendar.h"
#include "engine/check_plan.h"
#include "engine/date_value.h"
#include "engine/dose_rules.h"

namespace talveron {
namespace {

// Composed messages: the rule holds the fixed part that follows the inserted value.
constexpr Rule kTooShort{OptionKey::LLMA, Level::Error, ") is less than the minimum "};
constexpr std::string_view kTooShortLength = " Column value length(";
constexpr Rule kNotInRadionuclideList{OptionKey::VNVR, Level::Warning,
                                      "' Is not a valid Radionuclide"};
constexpr std::string_view kNotInListText = "' Is not a valid value for ";

constexpr Rule kNegativeDose{OptionKey::DGZ, Level::Error, "Doses must be greater than zero"};
constexpr Rule kZeroDose{OptionKey::NRND, Level::Warning, "Use NR or ND instead of 0.0 for doses"};
constexpr Rule kZeroDoseLetter{OptionKey::DVIC, Level::Error, "' in dose"};

constexpr Rule kNotADate{OptionKey::NCD, Level::Error,
                         "Value can not be converted to a valid date"};
constexpr Rule kFutureDate{OptionKey::DCD, Level::Error, "Date must be before todays date"};
constexpr Rule kEarlyYear{OptionKey::DBI, Level::Warning,
                          "Dates before 1900 are likely to be incorrect"};
constexpr Rule kBadMonth{OptionKey::DIM, Level::Error, "Date contains invalid month"};
constexpr Rule kBadDay{OptionKey::DID, Level::Error, "Date contains invalid day of month"};

// Where the date rules point, from the field's start: the second digit of the year, the month
// and the day.
constexpr std::int32_t kYearOffset = 1;
constexpr std::int32_t kMonthOffset = 4;
constexpr std::int32_t kDayOffset = 6;

// The walks that compose findings are cold: kept out of the field loop, whose common case then
// needs no room for them.

/// Every character outside the set is its own finding, at its place in the line.
[[gnu::cold]] void ReportCharacters(RecordContext& record, const FieldStep& step,
                                    std::string_view value) {
    const CharacterSet& set = *step.characters;
    const std::int32_t start = step.field->start;
    for (std::size_t j = 0;; ++j) {
        while (j < value.size() && set.table[static_cast<unsigned char>(value[j])]) ++j;
        if (j == value.size()) return;
        std::string message(set.rule.message);
        message += UpperAscii(value[j]);
        message += '\'';
        record.report(set.rule, step.ordinal, start + static_cast<std::int32_t>(j), message,
                      Span::Character);
    }
}

/// The whole value is judged a block at a time; only a value with a character outside the set
/// is walked.
void CheckCharacters(RecordContext& record, const FieldStep& step, std::string_view value) {
    const std::string_view line = record.record();
    if (!step.characters->allAllowed(value, line.data() + line.size())) {
        ReportCharacters(record, step, value);
    }
}

[[gnu::cold]] void ReportNotInList(RecordContext& record, const FieldStep& step,
                                   std::string_view value) {
    const FieldDef& field = *step.field;
    std::string message = "'";
    message += value;
    message += kNotInListText;
    message += field.trimmedName;
    record.report({SwitchOf(step.list), Level::Error, kNotInListText}, step.ordinal, field.start,
                  message);
}

void CheckListValue(RecordContext& record, const FieldStep& step, std::string_view value) {
    if (value.empty() || record.environment().lists.contains(step.list, value)) return;
    ReportNotInList(record, step, value);
}

[[gnu::cold]] void ReportNotInRadionuclideList(RecordContext& record, const FieldStep& step,
                                               std::string_view value) {
    std::string message = "'";
    message += value;
    message += kNotInRadionuclideList.message;
    record.report(kNotInRadionuclideList, step.ordinal, step.field->start, message);
}

void CheckRadionuclide(RecordContext& record, const FieldStep& step, std::string_view value) {
    if (value.empty() || record.environment().lists.contains(ValueList::Radionuclide, value)) {
        return;
    }
    ReportNotInRadionuclideList(record, step, value);
}

/// A zero dose should be written as a code; a zero that starts with a letter is a bad character.
void CheckZeroDose(RecordContext& record, int ordinal, std::string_view value) {
    const bool numeric = value.empty() || static_cast<unsigned char>(value.front()) <= '9';
    if (numeric) {
        if (record.on(kZeroDose.code)) record.report(kZeroDose, ordinal);
        return;
    }
    if (!record.on(kZeroDoseLetter.code)) return;
    record.report(kZeroDoseLetter, ordinal, record.fieldStart(ordinal),
                  InvalidCharacterMessage(value.front(), kZeroDoseLetter.message));
}

[[gnu::cold]] void ReportDoseSyntax(RecordContext& record, int ordinal, std::string_view value,
                                    const OptionSettings& options) {
    OptionKey code = OptionKey::DVIC;
    const std::string syntax = DoseValueSyntax(value, options, &code);
    record.report(Rule{code, Level::Error, {}}, ordinal, record.fieldStart(ordinal), syntax);
}

void CheckDoseValue(RecordContext& record, int ordinal) {
    const std::string_view value = record.value(ordinal);
    if (value.empty() || value.front() != 'N') {
        const double x = record.number(ordinal);
        if (x < 0) {
            if (record.on(kNegativeDose.code)) record.report(kNegativeDose, ordinal);
        } else if (x == 0) {
            CheckZeroDose(record, ordinal, value);
        }
    }
    const OptionSettings& options = record.environment().options;
    const std::string_view line = record.record();
    if (!DoseSyntaxPasses(value, options, line.data() + line.size())) {
        ReportDoseSyntax(record, ordinal, value, options);
    }
}

/// The date (at midnight) lies on a later calendar day than the present moment.
bool AfterToday(const DateParts& date, const LocalDateTime& present) {
    // Real calendar dates order as their (year, month, day).
    return std::tuple(static_cast<int>(date.year), static_cast<int>(date.month),
                      static_cast<int>(date.day)) >
           std::tuple(present.year, present.month, present.day);
}

void CheckDate(RecordContext& record, int ordinal) {
    constexpr std::size_t kDateLength = 8;
    const std::string_view value = record.value(ordinal);
    if (value.size() != kDateLength) return;
    const CalendarDate& calendarDate = record.date(ordinal);
    const DateParts& date = calendarDate.parts;
    const std::int32_t start = record.fieldStart(ordinal);
    if (!calendarDate.real) {
        if (record.on(kNotADate.code)) record.report(kNotADate, ordinal);
    } else if (record.on(kFutureDate.code) && AfterToday(date, record.environment().present)) {
        record.report(kFutureDate, ordinal);
    }
    if (date.year < 1900 && record.on(kEarlyYear.code)) {
        record.report(kEarlyYear, ordinal, start + kYearOffset, kEarlyYear.message);
    }
    if ((date.month < 1 || date.month > 12) && record.on(kBadMonth.code)) {
        record.report(kBadMonth, ordinal, start + kMonthOffset, kBadMonth.message);
    }
    if ((date.day < 1 || date.day > 31) && record.on(kBadDay.code)) {
        record.report(kBadDay, ordinal, start + kDayOffset, kBadDay.message);
    }
}

[[gnu::cold]] void ReportTooShort(RecordContext& record, const FieldStep& step,
                                  std::size_t length) {
    const FieldDef& field = *step.field;
    std::string message = field.name;
    message += kTooShortLength;
    message += std::to_string(length);
    message += kTooShort.message;
    message += std::to_string(field.minimumLen);
    record.report(kTooShort, step.ordinal, field.start, message);
}

void ValidateField(RecordContext& record, const FieldStep& step, std::string_view value) {
    if (static_cast<std::int64_t>(value.size()) < step.minimumLen) {
        // A value too short for its field gets no type rule, whether or not it is reported.
        if (step.reportTooShort) ReportTooShort(record, step, value.size());
        return;
    }
    if (step.characters != nullptr) CheckCharacters(record, step, value);
    switch (step.value) {
        case ValueStep::List:
            CheckListValue(record, step, value);
            break;
        case ValueStep::Radionuclide:
            CheckRadionuclide(record, step, value);
            break;
        case ValueStep::Dose:
            CheckDoseValue(record, step.ordinal);
            break;
        case ValueStep::Date:
            CheckDate(record, step.ordinal);
            break;
        case ValueStep::None:
            break;
    }
}

}  // namespace

void ValidateFields(RecordContext& record) {
    const std::span<const FieldStep> steps = record.steps();
    const std::span<const std::string_view> values = record.values();
    for (std::size_t i = 0; i < steps.size(); ++i) ValidateField(record, steps[i], values[i]);
}

}  // namespace talveron
