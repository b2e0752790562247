#include "engine/field_validators.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "config/number.h"
#include "config/text.h"
#include "config/value_lists.h"
#include "engine/calendar.h"
#include "engine/date_value.h"
#include "engine/dose_rules.h"

namespace talveron {
namespace {

constexpr std::string_view kAlphaPrefix = "Alpha value contains invalid character '";
constexpr std::string_view kAlphaNumericPrefix = "Alphanumeric Value contains invalid character '";

/// The bytes a type allows, judged after upper-casing: letters A to Z (when `letters`) and
/// `others`. Indexed by the raw byte, so a lower-case letter is allowed where its capital is and
/// each character costs one lookup.
constexpr std::array<bool, 256> Allowed(bool letters, std::string_view others) {
    std::array<bool, 256> allowed{};
    const auto allow = [&](char upper) {
        allowed[static_cast<unsigned char>(upper)] = true;
        if (upper >= 'A' && upper <= 'Z')
            allowed[static_cast<unsigned char>(upper - 'A' + 'a')] = true;
    };
    if (letters) {
        for (char c = 'A'; c <= 'Z'; ++c) allow(c);
    }
    for (char c : others) allow(c);
    return allowed;
}

/// A type whose every character, upper-cased, must be allowed. The rule's message is the part
/// before the offending character.
struct CharacterSet {
    FieldType type;
    std::array<bool, 256> allowed;
    Rule rule;
};

constexpr CharacterSet kCharacterSets[] = {
    {FieldType::Alpha, Allowed(true, ""), {OptionKey::AIC, Level::Error, kAlphaPrefix}},
    {FieldType::AlphaSpace, Allowed(true, " "), {OptionKey::AIC, Level::Error, kAlphaPrefix}},
    {FieldType::Phone,
     Allowed(false, "0123456789 ()-"),
     {OptionKey::PIC, Level::Error, "Phone # contains invalid character '"}},
    {FieldType::AlphaNumeric,
     Allowed(true, "0123456789"),
     {OptionKey::ANIC, Level::Error, kAlphaNumericPrefix}},
    {FieldType::LastName,
     Allowed(true, ".-,' "),
     {OptionKey::ANIC, Level::Error, kAlphaNumericPrefix}},
    {FieldType::List, Allowed(true, ""), {OptionKey::AIC, Level::Error, kAlphaPrefix}},
    {FieldType::Dose,
     Allowed(false, "0123456789.NRDC"),
     {OptionKey::DVIC, Level::Error, "Dose contains invalid character '"}},
    {FieldType::Radionuclide,
     Allowed(true, "0123456789-"),
     {OptionKey::RVCI, Level::Error, "Radionuclide value contains invalid character '"}},
    {FieldType::Scientific,
     Allowed(false, "0123456789+-E."),
     {OptionKey::NVCIC, Level::Error, "Scientific notation value contains invalid character '"}},
};

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

bool Allows(const CharacterSet& set, char c) { return set.allowed[static_cast<unsigned char>(c)]; }

/// The character set of each type rule, looked up by the type's value.
constexpr auto kCharacterSetByType = [] {
    std::array<const CharacterSet*, static_cast<std::size_t>(FieldType::Scientific) + 1> byType{};
    for (const CharacterSet& set : kCharacterSets)
        byType[static_cast<std::size_t>(set.type)] = &set;
    return byType;
}();

const CharacterSet* CharacterSetOf(FieldType type) {
    return kCharacterSetByType[static_cast<std::size_t>(type)];
}

/// Every character outside the set is its own finding, at its place in the line.
void CheckCharacters(RecordContext& record, int ordinal, const CharacterSet& set) {
    if (!record.on(set.rule.code)) return;
    const std::string_view value = record.value(ordinal);
    const std::int32_t start = record.fieldStart(ordinal);
    for (std::size_t j = 0;; ++j) {
        // Skip the allowed run in a tight loop; reporting (rare) happens outside it.
        while (j < value.size() && Allows(set, value[j])) ++j;
        if (j == value.size()) return;
        const char upper = UpperAscii(value[j]);
        std::string message(set.rule.message);
        message += upper;
        message += '\'';
        record.report(set.rule, ordinal, start + static_cast<std::int32_t>(j), message,
                      Span::Character);
    }
}

void CheckListValue(RecordContext& record, int ordinal, const FieldDef& field) {
    const std::string_view value = record.value(ordinal);
    if (value.empty()) return;
    const std::optional<ValueList>& list = field.reportedList;
    if (!list) return;
    const Rule miss{SwitchOf(*list), Level::Error, kNotInListText};
    if (!record.on(miss.code) || record.environment().lists.contains(*list, value)) return;
    std::string message = "'";
    message += value;
    message += kNotInListText;
    message += field.trimmedName;
    record.report(miss, ordinal, field.start, message);
}

void CheckRadionuclide(RecordContext& record, int ordinal) {
    const std::string_view value = record.value(ordinal);
    if (value.empty() || !record.on(kNotInRadionuclideList.code)) return;
    if (record.environment().lists.contains(ValueList::Radionuclide, value)) return;
    std::string message = "'";
    message += value;
    message += kNotInRadionuclideList.message;
    record.report(kNotInRadionuclideList, ordinal, record.fieldStart(ordinal), message);
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
    OptionKey code = OptionKey::DVIC;
    const std::string syntax = DoseValueSyntax(value, record.environment().options, &code);
    if (!syntax.empty()) {
        record.report(Rule{code, Level::Error, {}}, ordinal, record.fieldStart(ordinal), syntax);
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
    const DateParts& date = record.dateParts(ordinal);
    const std::int32_t start = record.fieldStart(ordinal);
    if (!date.valid()) {
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

void ReportTooShort(RecordContext& record, int ordinal, const FieldDef& field, std::size_t length) {
    std::string message = field.name;
    message += kTooShortLength;
    message += std::to_string(length);
    message += kTooShort.message;
    message += std::to_string(field.minimumLen);
    record.report(kTooShort, ordinal, field.start, message);
}

void ValidateField(RecordContext& record, int ordinal, const FieldDef& field) {
    const std::size_t length = record.value(ordinal).size();
    if (static_cast<std::int64_t>(length) < field.minimumLen) {
        // A value too short for its field gets no type rule, whether or not it is reported.
        if (record.on(kTooShort.code)) ReportTooShort(record, ordinal, field, length);
        return;
    }
    if (const CharacterSet* set = CharacterSetOf(field.fieldType)) {
        CheckCharacters(record, ordinal, *set);
    }
    switch (field.fieldType) {
        case FieldType::List:
            CheckListValue(record, ordinal, field);
            break;
        case FieldType::Radionuclide:
            CheckRadionuclide(record, ordinal);
            break;
        case FieldType::Dose:
            CheckDoseValue(record, ordinal);
            break;
        case FieldType::Date:
            CheckDate(record, ordinal);
            break;
        default:
            break;
    }
}

}  // namespace

void ValidateFields(RecordContext& record) {
    const RecordLayout* layout = record.layout();
    if (layout == nullptr) return;
    for (int k = 1; k <= layout->count(); ++k) {
        ValidateField(record, k, *layout->field(k));
    }
}

}  // namespace talveron
