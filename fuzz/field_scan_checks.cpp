#include "fuzz/field_scan_checks.h"

#include <algorithm>

#include "config/text.h"
#include "engine/character_sets.h"
#include "engine/dose_rules.h"
#include "engine/field_value.h"
#include "engine/record_rules.h"

namespace talveron {

namespace {

constexpr FieldType kTypesWithCharacterSets[] = {
    FieldType::Alpha,    FieldType::AlphaSpace, FieldType::Phone,        FieldType::AlphaNumeric,
    FieldType::LastName, FieldType::Dose,       FieldType::Radionuclide, FieldType::Scientific};

/// The field's text as the definition reads: its width from its start, cut at the line's end,
/// without the blanks around it; an all-blank text is the empty text at its end.
std::string_view TrimmedByDefinition(std::string_view line, FieldSlice span) {
    if (span.width == 0 || span.first >= line.size()) return {};
    const std::string_view text = line.substr(span.first, span.width);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return text.substr(text.size());
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Where(std::string_view line, FieldSlice span) {
    return "the field at " + std::to_string(span.first) + " (" + std::to_string(span.width) +
           " wide) of the line \"" + std::string(line) + "\"";
}

/// The test-name rule's test as defined: the text, upper-cased, contains TEST or TRAIN.
bool NamesTestDataByDefinition(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = UpperAscii(c);
    return upper.find("TEST") != std::string::npos || upper.find("TRAIN") != std::string::npos;
}

std::string CheckCharacterSets(std::string_view text, std::string_view line, FieldSlice span) {
    for (const FieldType type : kTypesWithCharacterSets) {
        const CharacterSet& set = *CharacterSetOf(type);
        const bool expected =
            std::all_of(text.begin(), text.end(), [&](char c) { return set.allowed.allows(c); });
        if (set.allAllowed(text, line.data() + line.size()) != expected) {
            return "the character test of type " + std::to_string(static_cast<int>(type)) +
                   " misjudges \"" + std::string(text) + "\" in " + Where(line, span);
        }
    }
    if (LooksLikeTestData(text, line.data() + line.size()) != NamesTestDataByDefinition(text)) {
        return "the test-name test misjudges \"" + std::string(text) + "\" in " + Where(line, span);
    }
    // Counted a block at a time here, character by character when the message is composed.
    static const OptionSettings kAllChecks = OptionSettings::Defaults();
    const std::string_view trimmed = TrimSpaces(text);
    if (DoseSyntaxPasses(trimmed, kAllChecks, line.data() + line.size()) !=
        DoseValueSyntax(trimmed, kAllChecks).empty()) {
        return "the dose syntax test misjudges \"" + std::string(text) + "\" in " +
               Where(line, span);
    }
    return {};
}

std::string CheckLine(const LayoutTable& layouts, std::string_view line) {
    for (const RecordLayout& layout : layouts.layouts) {
        for (const FieldDef& field : layout.fields) {
            const FieldSlice span = FieldSlice::Of(field);
            const std::string_view value = FieldValue(line, span);
            const std::string_view expected = TrimmedByDefinition(line, span);
            if (value.data() != expected.data() || value.size() != expected.size()) {
                return "FieldValue gives \"" + std::string(value) + "\" for " + Where(line, span);
            }
            const std::string_view raw =
                span.first < line.size() ? line.substr(span.first, span.width) : std::string_view{};
            for (const std::string_view text : {value, raw}) {
                if (std::string problem = CheckCharacterSets(text, line, span); !problem.empty()) {
                    return problem;
                }
            }
        }
    }
    return {};
}

}  // namespace

std::string CheckFieldScans(const LayoutTable& layouts, std::string_view load) {
    std::size_t start = 0;
    while (start < load.size()) {
        const std::size_t end = std::min(load.find_first_of("\r\n", start), load.size());
        if (std::string problem = CheckLine(layouts, load.substr(start, end - start));
            !problem.empty()) {
            return problem;
        }
        start = end + (load.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return {};
}

}  // namespace talveron
