#include "engine/record_rules.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/number.h"
#include "config/text.h"
#include "engine/byte_block.h"
#include "engine/calendar.h"
#include "engine/date_value.h"
#include "engine/dose_register.h"
#include "engine/record_type.h"

namespace talveron {
namespace {

/// The dates of a dose record: b, s and e as whole date numbers (YYYYMMDD read as a number),
/// start and end as calendar dates.
struct RecordDates {
    double birth = 0;
    double start = 0;
    double end = 0;
    CalendarDate startDate;
    CalendarDate endDate;
};

/// A rule over the dates of a dose record, reported against one of its date fields.
struct DateRule {
    Rule rule;
    int KnownFields::Dose::*field;
    bool (*applies)(const RecordDates&);
};

/// Thirteen months: the longest period a dose record may cover, in calendar days.
constexpr std::int64_t kLongestPeriodDays = 397;
constexpr double kLatestBirthDate = 19991231;

constexpr DateRule kDateRules[] = {
    {{OptionKey::SDBED, Level::Error, "Monitoring start date must be before monitoring end date"},
     &KnownFields::Dose::monitoringEnd,
     [](const RecordDates& d) { return d.start > d.end; }},
    {{OptionKey::BDay, Level::Error, "Birthdate year must not be later than 1999"},
     &KnownFields::Dose::birthDate,
     [](const RecordDates& d) { return d.birth > kLatestBirthDate; }},
    {{OptionKey::BDAMP, Level::Error,
      "The employees birthdate is after the start of the monitoring period"},
     &KnownFields::Dose::birthDate,
     [](const RecordDates& d) { return d.birth > d.start || d.birth > d.end; }},
    {{OptionKey::MPGT, Level::Error, "Monitoring period is greater than 13 months"},
     &KnownFields::Dose::monitoringEnd,
     [](const RecordDates& d) {
         // A date that is no calendar day has no period; the Date field rule reports it.
         return d.startDate.real && d.endDate.real &&
                d.endDate.days - d.startDate.days > kLongestPeriodDays;
     }},
};

constexpr Rule kMultipleDosePeriods{OptionKey::MDMP, Level::Error,
                                    "Multiple dose records for same monitoring period"};
constexpr Rule kSsnNotNumeric{OptionKey::SSNNN, Level::Error,
                              "Employee_ID of type 'SSN' contains non-numeric character"};
constexpr Rule kTestName{OptionKey::NAMFLD, Level::Warning,
                         "Employee First or Last Name field may contain test information"};

/// A rule over the class and mode of an intake record, reported against the mode.
struct ClassModeRule {
    Rule rule;
    bool (*applies)(std::string_view classText, std::string_view mode);
};

/// Classes that require mode H: any non-empty piece of this text, so also runs such as "SY".
constexpr std::string_view kHClasses = "DFSYWVOM";

bool IsHClass(std::string_view classText) {
    return !classText.empty() && kHClasses.find(classText) != std::string_view::npos;
}

bool IsGClass(std::string_view classText) { return classText.empty() || classText == "G"; }

constexpr ClassModeRule kClassModeRules[] = {
    {{OptionKey::MODH, Level::Error,
      "Classes must be 'D','F','M','O','S','V','W' and 'Y' for Mode 'H'"},
     [](std::string_view c, std::string_view mode) { return mode == "H" && !IsHClass(c); }},
    {{OptionKey::MODH, Level::Error,
      "Mode must be 'H' for Classes 'D','F','M','O','S','V','W' or 'Y'"},
     [](std::string_view c, std::string_view mode) { return IsHClass(c) && mode != "H"; }},
    {{OptionKey::MODG, Level::Error, "For Mode 'G' Classes must be ' '(blank) or 'G'"},
     [](std::string_view c, std::string_view mode) { return mode == "G" && !IsGClass(c); }},
    {{OptionKey::MODG, Level::Error, "Mode must be 'G' for Classes ' '(blank) or 'G'"},
     [](std::string_view c, std::string_view mode) { return IsGClass(c) && mode != "G"; }},
};

/// A date field's whole number: its text read as a number (YYYYMMDD), rounded half to even. Eight
/// digits read as their date parts put together, which the date checks have read already.
double DateNumber(const RecordContext& record, int ordinal) {
    const std::string_view value = record.value(ordinal);
    if (value.size() == 8 && StartsWithEightDigits(value)) {
        const DateParts& date = record.date(ordinal).parts;
        return date.year * 10000 + date.month * 100 + date.day;
    }
    return RoundHalfEven(record.number(ordinal));
}

RecordDates ReadRecordDates(const RecordContext& record) {
    const KnownFields::Dose& f = record.environment().fields.dose;
    return {DateNumber(record, f.birthDate), DateNumber(record, f.monitoringStart),
            DateNumber(record, f.monitoringEnd), record.date(f.monitoringStart),
            record.date(f.monitoringEnd)};
}

/// The record type's own ordinals of ID_Type and Employee_ID; both 0 for other types.
struct IdentityFields {
    int idType = 0;
    int employeeId = 0;
};

IdentityFields IdentityFieldsOf(const RecordContext& record) {
    const KnownFields& fields = record.environment().fields;
    switch (record.recordType()) {
        case 'D':
            return {fields.dose.idType, fields.dose.employeeId};
        case 'I':
            return {fields.intake.idType, fields.intake.employeeId};
        case 'C':
            return {fields.comment.idType, fields.comment.employeeId};
        default:
            return {};
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Whether the text, upper-cased, contains the upper-case word.
bool ContainsUpper(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        std::size_t j = 0;
        while (j < word.size() && UpperAscii(text[at + j]) == word[j]) ++j;
        if (j == word.size()) return true;
    }
    return false;
}

}  // namespace

bool LooksLikeTestData(std::string_view name, const char* readableEnd) {
    // A name within one block: every letter of both words is compared at once, and a word is
    // where its letters' masks, each shifted by its place in the word, all hold.
    if (!name.empty() && name.size() <= kBlockSize &&
        readableEnd - name.data() >= std::ptrdiff_t{kBlockSize}) {
        const ByteBlock folded = LoadBlock(name.data()) | 0x20;
        const std::uint32_t inName = FirstBytes(name.size());
        const auto letter = [&](char lower) { return MaskOf(folded == lower) & inName; };
        const std::uint32_t t = letter('t');
        const std::uint32_t test = t & (letter('e') >> 1) & (letter('s') >> 2) & (t >> 3);
        const std::uint32_t train =
            t & (letter('r') >> 1) & (letter('a') >> 2) & (letter('i') >> 3) & (letter('n') >> 4);
        return (test | train) != 0;
    }
    return ContainsUpper(name, "TEST") || ContainsUpper(name, "TRAIN");
}

void CheckDates(RecordContext& record) {
    const KnownFields::Dose& fields = record.environment().fields.dose;
    const RecordDates dates = ReadRecordDates(record);
    ForEachBit(RulesThatApply<kDateRules>(dates), [&](std::size_t i) {
        const DateRule& check = kDateRules[i];
        if (record.on(check.rule.code)) record.report(check.rule, fields.*check.field);
    });
}

void CheckSingleMonitoringPeriod(RecordContext& record) {
    if (!record.on(kMultipleDosePeriods.code)) return;
    const CheckEnvironment& environment = record.environment();
    const KnownFields::Dose& fields = environment.fields.dose;
    const PersonKey key =
        MakePersonKey(record.value(fields.idType), record.value(fields.employeeId));
    // A later date has the smaller day number, so the period runs from the end's day number up
    // to the start's; with the start after the end it is empty and holds no other record.
    const auto low =
        static_cast<std::int32_t>(record.days().dayNumber(record.date(fields.monitoringEnd)));
    const auto high =
        static_cast<std::int32_t>(record.days().dayNumber(record.date(fields.monitoringStart)));
    if (environment.doses.periodSharedAt(record.dosePosition(), key, low, high)) {
        // Points at the record type: the fault lies with the record as a whole.
        record.report(kMultipleDosePeriods, kRecordTypeField, kRecordTypeCharacter,
                      kMultipleDosePeriods.message);
    }
}

void CheckSsn(RecordContext& record) {
    if (!record.on(kSsnNotNumeric.code)) return;
    const IdentityFields identity = IdentityFieldsOf(record);
    if (record.value(identity.idType) != "SSN") return;
    const std::string_view id = record.value(identity.employeeId);
    const std::int32_t start = record.fieldStart(identity.employeeId);
    for (std::size_t j = 0; j < id.size(); ++j) {
        if (IsDigit(id[j])) continue;
        record.report(kSsnNotNumeric, identity.employeeId, start + static_cast<std::int32_t>(j),
                      kSsnNotNumeric.message, Span::Character);
    }
}

void CheckTestNames(RecordContext& record) {
    if (!record.on(kTestName.code)) return;
    const KnownFields::Dose& fields = record.environment().fields.dose;
    const std::string_view line = record.record();
    const char* lineEnd = line.data() + line.size();
    if (!LooksLikeTestData(record.value(fields.firstName), lineEnd) &&
        !LooksLikeTestData(record.value(fields.lastName), lineEnd)) {
        return;
    }
    // Points just before the last name: the separator after the first name.
    const std::int32_t start = record.fieldStart(fields.lastName);
    record.report(kTestName, fields.lastName, start == 0 ? 0 : start - 1, kTestName.message);
}

void CheckClassMode(RecordContext& record) {
    const KnownFields::Intake& fields = record.environment().fields.intake;
    const std::string_view classText = record.value(fields.classField);
    const std::string_view mode = record.value(fields.mode);
    ForEachBit(RulesThatApply<kClassModeRules>(classText, mode), [&](std::size_t i) {
        if (record.on(kClassModeRules[i].rule.code))
            record.report(kClassModeRules[i].rule, fields.mode);
    });
}

}  // namespace talveron
