#include "engine/dose_rules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "config/number.h"
#include "config/text.h"
#include "engine/byte_block.h"
#include "engine/dose_register.h"

namespace talveron {
namespace {

// DoseValueSyntax. The invalid-character rule's message is the part after the character.
constexpr Rule kSyntaxCharacter{OptionKey::DVIC, Level::Error, "' found in dose value"};
constexpr Rule kSyntaxDecimals{OptionKey::INDD, Level::Error, "Invalid number of decimals in dose"};
constexpr Rule kSyntaxSpace{OptionKey::ESDV, Level::Error, "Embedded space found in dose value"};
constexpr std::string_view kFirstCharacters = "0123456789N.";
constexpr std::string_view kLastCharacters = "0123456789DRC.";

/// Membership in a character list as a table, for the per-value tests below.
constexpr std::array<bool, 256> CharacterTable(std::string_view characters) {
    std::array<bool, 256> table{};
    for (const char c : characters) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr auto kFirstAllowed = CharacterTable(kFirstCharacters);
constexpr auto kLastAllowed = CharacterTable(kLastCharacters);

constexpr std::string_view kNotCollected = "NC";

/// "NR", "ND" or "NC".
bool IsDoseCode(std::string_view text) {
    return text.size() == 2 && text[0] == 'N' &&
           (text[1] == 'R' || text[1] == 'D' || text[1] == 'C');
}

/// The text and the numeric value of one dose field.
struct DoseField {
    std::string_view text;
    double value = 0;

    bool notCollected() const { return text == kNotCollected; }
};

/// The eight dose fields of one dose record.
struct DoseValues {
    DoseField cede, cde, tode, dde, tede, lde, sdeWb, sdeMe;
};

/// A rule over a dose record, reported against one of its dose fields.
struct DoseRule {
    Rule rule;
    int KnownFields::Dose::*field;
    bool (*applies)(const DoseValues&);
};

/// The CDE or the TODE is not collected: the two must then agree.
bool EitherNotCollected(const DoseValues& d) {
    return d.cde.notCollected() || d.tode.notCollected();
}

/// General decimal text to at most 15 significant digits; 0 and -0 both read "0".
struct FifteenDigits {
    std::array<char, 32> chars{};
    std::size_t size = 0;

    explicit FifteenDigits(double value) {
        constexpr int kSignificantDigits = 15;
        if (value == 0) value = 0;  // no "-0"
        const auto result = std::to_chars(chars.data(), chars.data() + chars.size(), value,
                                          std::chars_format::general, kSignificantDigits);
        size = static_cast<std::size_t>(result.ptr - chars.data());
    }
    std::string_view text() const { return {chars.data(), size}; }
};

/// Sums are compared as their 15-digit texts, so a difference in the sixteenth digit is none.
bool SumDiffers(double a, double b, double total) {
    const double sum = a + b;
    if (sum == total) return false;  // equal numbers print alike; spare the formatting
    // Numbers that print alike differ by at most a unit of their fifteenth digit, at most about
    // 1e-14 of the larger: numbers twice as far apart print differently, without being printed.
    if (std::fabs(sum - total) > 2e-14 * std::max(std::fabs(sum), std::fabs(total))) return true;
    return FifteenDigits(sum).text() != FifteenDigits(total).text();
}

constexpr DoseRule kDoseRules[] = {
    {{OptionKey::CDEN, Level::Error,
      "When CEDE > 1.0  CDE must be > 0.0 and NOT 'NC','ND', or 'NR'"},
     &KnownFields::Dose::cde,
     [](const DoseValues& d) {
         return d.cede.value > 1.0 && (d.cde.value == 0 || d.cde.text.starts_with('N'));
     }},
    {{OptionKey::CGT5, Level::Warning, "CEDE is > 5.0"},
     &KnownFields::Dose::cede,
     [](const DoseValues& d) { return d.cede.value > 5.0; }},
    {{OptionKey::CTODE, Level::Error, "If CDE is 'NC' then TODE must also be 'NC' and visa versa"},
     &KnownFields::Dose::cde,
     [](const DoseValues& d) { return EitherNotCollected(d) && d.cde.text != d.tode.text; }},
    {{OptionKey::CGT50, Level::Warning, "CDE is > 50.0"},
     &KnownFields::Dose::cde,
     [](const DoseValues& d) { return EitherNotCollected(d) && d.cde.value > 50.0; }},
    {{OptionKey::NCNTO, Level::Error,
      "'NC' for CEDE invalid. 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::cede,
     [](const DoseValues& d) { return d.cede.notCollected(); }},
    {{OptionKey::NCLDE, Level::Error,
      "'NC' for LDE is invalid. 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::lde,
     [](const DoseValues& d) { return d.lde.notCollected(); }},
    {{OptionKey::LGT15, Level::Warning, "LDE is > 15.0"},
     &KnownFields::Dose::lde,
     [](const DoseValues& d) { return d.lde.value > 15.0; }},
    {{OptionKey::NCDDE, Level::Error,
      "'NC' for DDE is invalid 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::dde,
     [](const DoseValues& d) { return d.dde.notCollected(); }},
    {{OptionKey::DGT5, Level::Warning, "DDE is > 5.0"},
     &KnownFields::Dose::dde,
     [](const DoseValues& d) { return d.dde.value > 5.0; }},
    {{OptionKey::NSDE, Level::Error,
      "'NC' for SDE_ME is invalid. 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::sdeMe,
     [](const DoseValues& d) { return d.sdeMe.notCollected(); }},
    {{OptionKey::SGT50, Level::Warning, "SDE_ME is > 50.0"},
     &KnownFields::Dose::sdeMe,
     [](const DoseValues& d) { return d.sdeMe.value > 50.0; }},
    {{OptionKey::SNC, Level::Error,
      "'NC' for SDE_WB is invalid 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::sdeWb,
     [](const DoseValues& d) { return d.sdeWb.notCollected(); }},
    {{OptionKey::SWB50, Level::Warning, "SDE_WB is > 50.0"},
     &KnownFields::Dose::sdeWb,
     [](const DoseValues& d) { return d.sdeWb.value > 50.0; }},
    {{OptionKey::TNC, Level::Error,
      "'NC' for TEDE is invalid 'NC' is only valid for CDE & TODE doses"},
     &KnownFields::Dose::tede,
     [](const DoseValues& d) { return d.tede.notCollected(); }},
    {{OptionKey::TGT5, Level::Warning, "TEDE is > 5.0"},
     &KnownFields::Dose::tede,
     [](const DoseValues& d) { return d.tede.value > 5.0; }},
    {{OptionKey::DCSUM, Level::Error, "The sum of DDE and CEDE should equal TEDE"},
     &KnownFields::Dose::tede,
     [](const DoseValues& d) { return SumDiffers(d.dde.value, d.cede.value, d.tede.value); }},
    {{OptionKey::DCTSUM, Level::Error, "The sum of DDE and CDE should equal TODE"},
     &KnownFields::Dose::tode,
     [](const DoseValues& d) {
         return !d.cde.notCollected() && SumDiffers(d.dde.value, d.cde.value, d.tode.value);
     }},
    {{OptionKey::TOGT50, Level::Warning, "TODE is > 50.0"},
     &KnownFields::Dose::tode,
     [](const DoseValues& d) { return d.tode.value > 50.0; }},
};

/// A rule comparing a dose record's CEDE with the intakes registered below it.
struct IntakeRule {
    Rule rule;
    bool (*applies)(double cede, const IntakeSummary& intakes);
};

constexpr IntakeRule kIntakeRules[] = {
    {{OptionKey::HNCIR, Level::Warning, "CEDE is > 0.0 yet has NO corresponding Intake Record"},
     [](double cede, const IntakeSummary& i) { return cede > 0.0 && i.count == 0; }},
    {{OptionKey::HNCIR, Level::Error, "The total of Intakes is 0.0, yet CEDE is > 0.0"},
     [](double cede, const IntakeSummary& i) {
         return cede > 0.0 && i.count >= 1 && i.total == 0.0;
     }},
    {{OptionKey::IRNN, Level::Warning,
      "Intake records are not necessary when CEDE is 0.0, ND, or NR"},
     [](double cede, const IntakeSummary& i) {
         return cede == 0.0 && i.count >= 1 && i.total <= 0.0;
     }},
    {{OptionKey::CNIR, Level::Warning, "CEDE is NOT > 0.0, yet has corresponding Intake Record(s)"},
     [](double cede, const IntakeSummary& i) {
         return cede == 0.0 && i.count >= 1 && i.total > 0.0;
     }},
};

DoseField ReadDoseField(const RecordContext& record, int ordinal) {
    return {record.value(ordinal), record.number(ordinal)};
}

DoseValues ReadDoseValues(const RecordContext& record) {
    const KnownFields::Dose& f = record.environment().fields.dose;
    return {ReadDoseField(record, f.cede),  ReadDoseField(record, f.cde),
            ReadDoseField(record, f.tode),  ReadDoseField(record, f.dde),
            ReadDoseField(record, f.tede),  ReadDoseField(record, f.lde),
            ReadDoseField(record, f.sdeWb), ReadDoseField(record, f.sdeMe)};
}

/// CheckIntakeCorrelation: the intakes registered below the record against its CEDE.
void CheckIntakeCorrelation(RecordContext& record, int cedeOrdinal, double cede) {
    const IntakeSummary intakes =
        record.environment().doses.intakesOf(record.lineNumber(), record.intakeSearchStart());
    ForEachBit(RulesThatApply<kIntakeRules>(cede, intakes), [&](std::size_t i) {
        if (record.on(kIntakeRules[i].rule.code)) record.report(kIntakeRules[i].rule, cedeOrdinal);
    });
}

/// What breaks a trimmed dose value's syntax: the last applicable rule, and for the invalid-
/// character rule the character.
struct DoseSyntaxFault {
    const Rule* rule = nullptr;
    char offending = 0;
};

/// What a dose value holds that its syntax rules count: two or more decimal points, a blank.
struct PointsAndBlanks {
    bool severalPoints = false;
    bool blank = false;
};

/// A value within one block is counted in it at once; another one character by character. Reads
/// no further than `readableEnd`.
PointsAndBlanks CountPointsAndBlanks(std::string_view t, const char* readableEnd) {
    if (t.size() <= kBlockSize && readableEnd - t.data() >= std::ptrdiff_t{kBlockSize}) {
        const ByteBlock block = LoadBlock(t.data());
        const std::uint32_t inValue = FirstBytes(t.size());
        const std::uint32_t points = MaskOf(block == '.') & inValue;
        return {(points & (points - 1)) != 0, (MaskOf(block == ' ') & inValue) != 0};
    }
    int points = 0;
    bool blank = false;
    for (const char c : t) {
        points += c == '.';
        blank |= c == ' ';
    }
    return {points >= 2, blank};
}

DoseSyntaxFault FindDoseSyntaxFault(std::string_view t, const OptionSettings& options,
                                    const char* readableEnd) {
    if (t.empty() || IsDoseCode(t)) return {};
    // Later checks override earlier ones: the last applicable one is the fault.
    DoseSyntaxFault fault;
    if (options.on(kSyntaxCharacter.code)) {
        if (!kFirstAllowed[static_cast<unsigned char>(t.front())])
            fault = {&kSyntaxCharacter, t.front()};
        if (!kLastAllowed[static_cast<unsigned char>(t.back())])
            fault = {&kSyntaxCharacter, t.back()};
    }
    const PointsAndBlanks counted = CountPointsAndBlanks(t, readableEnd);
    if (counted.severalPoints && options.on(kSyntaxDecimals.code)) fault = {&kSyntaxDecimals, 0};
    if (counted.blank && options.on(kSyntaxSpace.code)) fault = {&kSyntaxSpace, 0};
    return fault;
}

}  // namespace

bool DoseSyntaxPasses(std::string_view trimmedValue, const OptionSettings& options,
                      const char* readableEnd) {
    return FindDoseSyntaxFault(trimmedValue, options, readableEnd).rule == nullptr;
}

std::string DoseValueSyntax(std::string_view value, const OptionSettings& options,
                            OptionKey* code) {
    const std::string_view trimmed = TrimSpaces(value);
    const DoseSyntaxFault fault =
        FindDoseSyntaxFault(trimmed, options, trimmed.data() + trimmed.size());
    if (fault.rule == nullptr) return {};
    if (code != nullptr) *code = fault.rule->code;
    if (fault.rule != &kSyntaxCharacter) return std::string(fault.rule->message);
    return InvalidCharacterMessage(fault.offending, kSyntaxCharacter.message);
}

std::string InvalidCharacterMessage(char offending, std::string_view rest) {
    std::string message = "Invalid character '";
    message += offending;
    message += rest;
    return message;
}

void CheckDoseValues(RecordContext& record) {
    const KnownFields::Dose& fields = record.environment().fields.dose;
    const DoseValues doses = ReadDoseValues(record);
    CheckIntakeCorrelation(record, fields.cede, doses.cede.value);
    ForEachBit(RulesThatApply<kDoseRules>(doses), [&](std::size_t i) {
        const DoseRule& check = kDoseRules[i];
        if (record.on(check.rule.code)) record.report(check.rule, fields.*check.field);
    });
}

}  // namespace talveron
