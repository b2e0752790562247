#include "config/layout_check.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "config/number.h"
#include "config/record_frame.h"
#include "config/rule_fields.h"

namespace talveron {

namespace {

constexpr std::string_view kEndOfLayout = "X";

/// The record type's name, after "the" and after "a" or "an".
struct RecordName {
    std::string_view name;
    std::string_view article;
};

RecordName NameOf(RecordType type) {
    switch (type) {
        case RecordType::Header:
            return {"header", "a"};
        case RecordType::Comment:
            return {"comment record", "a"};
        case RecordType::Dose:
            return {"dose record", "a"};
        case RecordType::Intake:
            return {"intake record", "an"};
    }
    return {};
}

std::string Fields(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " field" : " fields");
}

/// The number of a layout key as the loader asks for it ("1", "2", ...: no sign, no leading
/// zero); nullopt for any other key.
std::optional<int> FieldNumber(std::string_view key) {
    if (key.empty() || key.size() > 5 || key.front() == '0' ||
        !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(std::string(key));
}

/// Keys of a layout section that the loader never reads or reads no more: not a field number,
/// or a number after the end of the layout. Keys that start with ";" are comments.
void CheckIgnoredKeys(const IniDocument& document, RecordType type, int count,
                      ProblemList& problems) {
    const std::string section = LayoutSection(type);
    std::optional<int> firstIgnored;
    std::size_t firstIgnoredLine = 0;
    document.forEachKey(section, [&](std::string_view key, std::string_view) {
        if (key.starts_with(';')) return;
        const std::size_t line = document.keyLine(section, key);
        const std::optional<int> number = FieldNumber(key);
        if (!number) {
            problems.warning(line, "key " + std::string(key) + " of " + Bracketed(section) +
                                       " is ignored: a layout reads the field numbers 1, 2, 3 "
                                       "... only");
        } else if (*number > count + 1 && (!firstIgnored || *number < *firstIgnored)) {
            firstIgnored = number;
            firstIgnoredLine = line;
        }
    });
    if (!firstIgnored) return;
    const std::string end = std::to_string(count + 1);
    const std::string ignored = "fields from " + std::to_string(*firstIgnored) + " on are ignored";
    if (document.find(section, end) == kEndOfLayout) {
        problems.warning(firstIgnoredLine, "field " + end + " of " + Bracketed(section) +
                                               " is X, which ends the layout, so its " + ignored);
    } else {
        problems.error(firstIgnoredLine, Bracketed(section) + " has no field " + end + ", so its " +
                                             ignored +
                                             " (a layout ends at its first missing field)");
    }
}

/// The last character of a field; below its start when it has no width.
std::int64_t LastCharacter(const FieldDef& field) {
    return static_cast<std::int64_t>(field.start) + field.len - 1;
}

/// "characters 43-57", "character 41", or "no character" for a field without width.
std::string Place(const FieldDef& field) {
    if (field.len <= 0) return "no character";
    if (field.len == 1) return "character " + std::to_string(field.start);
    return "characters " + std::to_string(field.start) + "-" + std::to_string(LastCharacter(field));
}

std::string PlacedLabel(const ConfiguredField& field) {
    return "field " + std::to_string(field.ordinal) + " (" + field.name + ", " +
           Place(*field.field) + ")";
}

const RecordLengthLimits& LengthLimitsOf(RecordType type) {
    return *std::find_if(
        kRecordLengthLimits.begin(), kRecordLengthLimits.end(),
        [&](const RecordLengthLimits& limits) { return limits.type == RecordTypeLetter(type); });
}

/// Overlaps, the record-type field and the fit to the record lengths, for one layout's fields.
void CheckPositions(RecordType type, std::span<const ConfiguredField> fields,
                    std::size_t sectionLine, ProblemList& problems) {
    const ConfiguredField* reaching = nullptr;  // the field that reaches furthest so far
    const ConfiguredField* tooLong = nullptr;
    const RecordLengthLimits& limits = LengthLimitsOf(type);
    for (const ConfiguredField& field : fields) {
        if (field.field->len <= 0) continue;
        if (reaching != nullptr && field.field->start <= LastCharacter(*reaching->field)) {
            problems.error(field.line, PlacedLabel(field) + " overlaps " + PlacedLabel(*reaching) +
                                           " of " + Bracketed(LayoutSection(type)));
        }
        if (reaching == nullptr || LastCharacter(*field.field) > LastCharacter(*reaching->field))
            reaching = &field;
        if (tooLong == nullptr &&
            LastCharacter(*field.field) > static_cast<std::int64_t>(limits.longestTrimmed)) {
            tooLong = &field;
        }
    }
    const RecordName name = NameOf(type);
    if (tooLong != nullptr) {
        problems.warning(tooLong->line, PlacedLabel(*tooLong) + " ends past character " +
                                            std::to_string(limits.longestTrimmed) +
                                            ", the longest " + std::string(name.name) +
                                            " the record-length check accepts, so it can only "
                                            "be blank");
    }
    const std::int64_t shortestLine = limits.shortestRecordLength - 2;
    if (reaching != nullptr && LastCharacter(*reaching->field) < shortestLine) {
        const std::int64_t end = LastCharacter(*reaching->field);
        problems.warning(reaching->line,
                         "the fields of " + Bracketed(LayoutSection(type)) + " end at character " +
                             std::to_string(end) + ", but " + std::string(name.article) + " " +
                             std::string(name.name) + " has at least " +
                             std::to_string(shortestLine) + ": characters " +
                             std::to_string(end + 1) + " to " + std::to_string(shortestLine) +
                             " are in no field and never checked");
    }
    if (type == RecordType::Header) return;
    if (fields.size() < static_cast<std::size_t>(kRecordTypeField)) {
        problems.error(sectionLine, Bracketed(LayoutSection(type)) + " has " +
                                        Fields(fields.size()) +
                                        ", so no field 5 holds the record type, which is "
                                        "character 41");
        return;
    }
    const ConfiguredField& typeField = fields[kRecordTypeField - 1];
    if (typeField.field->start == kRecordTypeCharacter && typeField.field->len == 1) return;
    problems.error(typeField.line,
                   PlacedLabel(typeField) + " should be character 41 alone, the record type" +
                       (typeField.field->start == kRecordTypeCharacter
                            ? std::string()
                            : ": fields 1 to 4 must be 36 characters wide together"));
}

void CheckRuleFields(RecordType type, const RecordLayout& layout, std::size_t sectionLine,
                     ProblemList& problems) {
    for (const RuleField& needed : RuleFields()) {
        if (needed.layout != type || FindField(layout, needed.name) != 0) continue;
        std::string message = Bracketed(LayoutSection(type)) + " has no field " +
                              std::string(needed.name) + ", needed by " +
                              std::string(needed.neededBy);
        for (const FieldDef& field : layout.fields) {
            if (FoldCase(field.trimmedName) == FoldCase(needed.name)) {
                message += " (" + field.trimmedName + " is not " + std::string(needed.name) +
                           ": field names are matched with letter case)";
                break;
            }
        }
        problems.error(sectionLine, message);
    }
}

void CheckLen(const IniDocument& document, const ConfiguredField& field, ProblemList& problems) {
    const auto written = document.find(field.name, "Len");
    if (!written) {
        problems.error(document.sectionLine(field.name),
                       Bracketed(field.name) + " has no Len, so the field has no width");
        return;
    }
    const std::size_t line = document.keyLine(field.name, "Len");
    const std::string len = std::to_string(field.field->len);
    const std::string shown = "Len=" + std::string(*written) + " of " + Bracketed(field.name);
    if (field.field->len <= 0) {
        problems.error(line, shown + " is not a positive width" +
                                 (*written == len ? "" : " (a run reads it as " + len + ")"));
    } else if (!IsPlainWholeNumber(*written)) {
        problems.warning(line, shown + " is not a whole number; a run reads it as " + len);
    }
}

/// Width, shortest value and type code of each field definition, once per definition.
void CheckDefinitions(const IniDocument& document, const std::vector<ConfiguredField>& fields,
                      ProblemList& problems) {
    std::unordered_set<std::string> checked;
    for (const ConfiguredField& field : fields) {
        if (!checked.insert(FoldCase(field.name)).second) continue;
        if (document.sectionLine(field.name) == 0) {
            problems.error(field.line, FieldLabel(field) + " has no section " +
                                           Bracketed(field.name) + ", so it has no width");
            continue;
        }
        CheckLen(document, field, problems);
        const FieldDef& definition = *field.field;
        if (definition.len > 0 && definition.minimumLen > definition.len) {
            problems.error(document.keyLine(field.name, "MinimumLen"),
                           "MinimumLen=" + std::to_string(definition.minimumLen) + " of " +
                               Bracketed(field.name) + " is more than its Len=" +
                               std::to_string(definition.len) + ", so no value is long enough");
        }
        if (const auto type = document.find(field.name, "Type");
            type && definition.fieldType == FieldType::None && definition.type != "NA  ") {
            problems.warning(document.keyLine(field.name, "Type"),
                             "Type=" + std::string(*type) + " of " + Bracketed(field.name) +
                                 " is no type code, so the field gets no type check (the codes "
                                 "are Date, A, AS, Fon, AN, List, LN, Dose, Nuc and E, with "
                                 "letter case, or NA for none)");
        }
    }
}

}  // namespace

void CheckLayouts(const IniDocument& document, const LayoutTable& layouts,
                  const std::vector<ConfiguredField>& fields, ProblemList& problems) {
    for (const RecordType type :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        const std::string section = LayoutSection(type);
        const std::size_t sectionLine = document.sectionLine(section);
        const std::string name(NameOf(type).name);
        if (sectionLine == 0) {
            problems.error(
                0, "there is no section " + Bracketed(section) + ", the " + name + " layout");
            continue;
        }
        const RecordLayout& layout = layouts.of(type);
        CheckIgnoredKeys(document, type, layout.count(), problems);
        if (layout.count() == 0) {
            problems.error(sectionLine, Bracketed(section) + " defines no field, so the " + name +
                                            " layout is empty");
            continue;
        }
        const auto first = std::find_if(fields.begin(), fields.end(),
                                        [&](const ConfiguredField& f) { return f.layout == type; });
        CheckPositions(type, std::span(first, static_cast<std::size_t>(layout.count())),
                       sectionLine, problems);
        CheckRuleFields(type, layout, sectionLine, problems);
    }
    CheckDefinitions(document, fields, problems);
}

}  // namespace talveron
