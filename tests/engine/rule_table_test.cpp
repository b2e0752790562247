// Runs the rule tables of tests/data/rules: each line a record and every finding the checks give
// it, through the record dispatcher as a run would. The table format is described in
// tests/data/rules/README.md.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/ini_document.h"
#include "engine/dose_register.h"
#include "engine/known_fields.h"
#include "engine/record_dispatcher.h"
#include "engine/registration.h"
#include "report/dose_ranges.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;

const fs::path kRules = fs::path(TALVERON_TEST_DATA_DIR) / "rules";

/// Splits at blanks, keeping "double-quoted" runs (with \" \\ and \xHH escapes) as one word.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == '\t') {
            ++at;
            continue;
        }
        std::string word;
        bool quoted = false;
        for (; at < text.size() && (quoted || (text[at] != ' ' && text[at] != '\t')); ++at) {
            if (text[at] == '"') {
                quoted = !quoted;
            } else if (quoted && text[at] == '\\' && text[at + 1] == 'x') {
                word +=
                    static_cast<char>(std::stoi(std::string(text.substr(at + 2, 2)), nullptr, 16));
                at += 3;
            } else if (quoted && text[at] == '\\') {
                word += text[++at];
            } else {
                word += text[at];
            }
        }
        words.push_back(word);
    }
    return words;
}

/// Text split at a separator that is not inside double quotes.
std::vector<std::string> SplitOutsideQuotes(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && quoted) {
            ++at;
        } else if (text[at] == '"') {
            quoted = !quoted;
        } else if (!quoted && text.substr(at, separator.size()) == separator) {
            parts.emplace_back(text.substr(start, at - start));
            start = at + separator.size();
            at = start - 1;
        }
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

/// A finding in the table's words: CODE LEVEL COLUMN CHARACTER "MESSAGE" [counted=LEVEL]
/// [type=H] (written with the type "H").
std::string Describe(const Finding& finding) {
    std::string text =
        std::string(DefinitionOf(finding.code).name) + ' ' + std::string(LevelText(finding.level)) +
        ' ' + std::to_string(finding.column) + ' ' + std::to_string(finding.character) + " \"";
    for (const char c : finding.message) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    text += '"';
    if (finding.counted != finding.level)
        text += " counted=" + std::string(LevelText(finding.counted));
    if (finding.headerType) text += " type=H";
    return text;
}

/// The same finding written by hand, normalised through Words().
std::string Normalised(const std::string& written) {
    const std::vector<std::string> words = Words(written);
    if (words.size() < 5) return "(malformed: " + written + ")";
    Finding finding;
    for (const OptionDefinition& definition : OptionDefinitions()) {
        if (definition.name == words[0]) finding.code = definition.key;
    }
    finding.level = words[1] == "WARNING" ? Level::Warning : Level::Error;
    finding.counted = finding.level;
    for (std::size_t i = 5; i < words.size(); ++i) {
        if (words[i].starts_with("counted="))
            finding.counted = words[i] == "counted=WARNING" ? Level::Warning : Level::Error;
        finding.headerType = finding.headerType || words[i] == "type=H";
    }
    finding.column = std::stoi(words[2]);
    finding.character = std::stoi(words[3]);
    finding.message = words[4];
    return DefinitionOf(finding.code).name == words[0] ? Describe(finding)
                                                       : "(unknown code: " + written + ")";
}

class DescribingSink final : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace&) override {
        findings.push_back(Describe(finding));
    }
    std::vector<std::string> findings;
};

/// What a table sets before its cases: layouts, value lists, the day, checks switched off. A
/// layout given again replaces the earlier one of its type; a field name has one definition, the
/// last given, as in the configuration file.
struct Table {
    std::map<std::string, std::string> layouts;  // "[D]\n1=Name\n..." by record type
    std::map<std::string, std::string> fields;   // "[Name]\nLen=..." by field name
    std::string lists;
    std::map<char, std::vector<std::string>> defaults;  // Name=value words by record type
    std::vector<OptionKey> off;
    LocalDateTime today{2024, 6, 15, 10, 30, 0};

    std::string configuration() const {
        std::string text;
        for (const auto& [type, layout] : layouts) text += layout;
        for (const auto& [name, field] : fields) text += field;
        return text + lists;
    }
};

std::optional<OptionKey> CodeNamed(std::string_view name) {
    for (const OptionDefinition& definition : OptionDefinitions()) {
        if (definition.name == name) return definition.key;
    }
    return std::nullopt;
}

/// layout T Name:Len[:Type[:MinimumLen]] ...
void AddLayout(Table& table, const std::vector<std::string>& words) {
    std::string layout = "[" + words.at(1) + "]\n";
    for (std::size_t i = 2; i < words.size(); ++i) {
        std::vector<std::string> parts = SplitOutsideQuotes(words[i], ":");
        layout += std::to_string(i - 1) + '=' + parts[0] + '\n';
        std::string field = '[' + parts[0] + "]\nLen=" + parts.at(1) + '\n';
        if (parts.size() > 2) field += "Type=" + parts[2] + '\n';
        if (parts.size() > 3) field += "MinimumLen=" + parts[3] + '\n';
        // Another type's layout using the name would silently change with it.
        for (const auto& [type, other] : table.layouts) {
            if (type != words[1] && other.find('=' + parts[0] + '\n') != std::string::npos &&
                table.fields[parts[0]] != field) {
                ADD_FAILURE() << "field " << parts[0] << " defined twice; give it another name";
            }
        }
        table.fields[parts[0]] = field;
    }
    table.layouts[words.at(1)] = layout;
}

/// One record of a case: its type letter and line, blanks with the values at their fields.
std::string MakeRecord(const LayoutTable& layouts, const std::vector<std::string>& words,
                       OptionSettings& options, std::int64_t& lineNumber) {
    const std::string& head = words.at(0);
    const char type = head.at(0);
    if (type == 'H') lineNumber = 1;
    if (head.size() > 2 && head[1] == '@') lineNumber = std::stoll(head.substr(2));
    const std::optional<RecordType> known = type == 'H'   ? RecordType::Header
                                            : type == 'D' ? RecordType::Dose
                                            : type == 'I' ? RecordType::Intake
                                            : type == 'C' ? std::optional(RecordType::Comment)
                                                          : std::nullopt;
    const RecordLayout* layout = known ? &layouts.of(*known) : nullptr;
    std::size_t length = 41;
    if (layout && !layout->fields.empty()) {
        const FieldDef& last = layout->fields.back();
        length = static_cast<std::size_t>(last.start + last.len - 1);
    }
    for (const std::string& word : words) {
        if (word.starts_with("len=")) length = std::stoul(word.substr(4));
    }
    std::string line(length, ' ');
    for (const std::string& word : words) {
        if (word.starts_with("fill=")) line.assign(length, word.at(5));
    }
    for (const std::string& word : words) {
        if (!word.starts_with("blank=")) continue;
        const std::size_t dash = word.find('-');
        const std::size_t first = std::stoul(word.substr(6, dash - 6));
        const std::size_t last = std::stoul(word.substr(dash + 1));
        line.replace(first - 1, last - first + 1, last - first + 1, ' ');
    }
    // The header of line 1 carries no type; on any other line "H" is a type like the others.
    if (!(type == 'H' && lineNumber == 1) && type != '_' && length >= 41) line[40] = type;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.starts_with('-')) {
            options.set(*CodeNamed(word.substr(1)), 0);
        } else if (const std::size_t equals = word.find('=');
                   equals != std::string::npos && !word.starts_with("len=") &&
                   !word.starts_with("fill=") && !word.starts_with("blank=")) {
            const FieldDef* field =
                layout ? layout->field(FindField(*layout, word.substr(0, equals))) : nullptr;
            if (field == nullptr) {
                ADD_FAILURE() << "no field " << word.substr(0, equals);
                continue;
            }
            // The value replaces the field's whole width (a default included), or runs past it.
            std::string value = word.substr(equals + 1);
            if (value.size() < static_cast<std::size_t>(field->len)) value.resize(field->len, ' ');
            const auto start = static_cast<std::size_t>(field->start - 1);
            if (line.size() < start + value.size()) line.resize(start + value.size(), ' ');
            line.replace(start, value.size(), value);
        }
    }
    return line;
}

/// Checks the case's first record after registering every record of the case as a file.
std::vector<std::string> Check(Table& table, const std::string& records) {
    const IniDocument configuration(table.configuration());
    const LayoutTable layouts = LoadRecordLayouts(configuration);
    const ValueLists lists = ValueLists::Load(configuration);
    OptionSettings options = OptionSettings::Defaults();
    for (const OptionKey code : table.off) options.set(code, 0);
    std::vector<std::string> lines;
    std::int64_t firstLine = 2;
    for (const std::string& record : SplitOutsideQuotes(records, " + ")) {
        std::int64_t lineNumber = firstLine + static_cast<std::int64_t>(lines.size());
        std::vector<std::string> words = Words(record);
        const std::vector<std::string>& defaults = table.defaults[words.at(0).at(0)];
        words.insert(words.begin() + 1, defaults.begin(), defaults.end());
        lines.push_back(MakeRecord(layouts, words, options, lineNumber));
        if (lines.size() == 1) firstLine = lineNumber;
    }
    const KnownFields fields = KnownFields::Find(layouts);
    DoseRegister doses;
    DoseRegistration registration(layouts, fields, table.today, doses);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        registration.registerLine(lines[i], firstLine + static_cast<std::int64_t>(i));
    }
    doses.buildIndex();
    const CheckEnvironment environment{layouts, options,     lists,      fields,
                                       doses,   table.today, table.today};
    DescribingSink sink;
    RecordDispatcher dispatcher(environment, sink);
    const DispatchResult counts = dispatcher.dispatch(lines[0], firstLine, RecordLength(lines[0]));
    std::int64_t errors = 0;
    for (const std::string& finding : sink.findings) {
        const bool countedWarning = finding.find(" counted=WARNING") != std::string::npos;
        const bool countedError = finding.find(" counted=ERROR") != std::string::npos;
        if (countedError || (!countedWarning && finding.find(" ERROR ") != std::string::npos))
            ++errors;
    }
    EXPECT_EQ(counts.errors, errors) << records;
    EXPECT_EQ(counts.warnings, static_cast<std::int64_t>(sink.findings.size()) - errors) << records;
    return sink.findings;
}

class RuleTableTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RuleTableTest, EveryRecordGivesExactlyItsFindings) {
    const fs::path path = kRules / (GetParam() + ".rules");
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    Table table;
    int lineNumber = 0;
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (line.empty() || line.starts_with('#')) continue;
        const std::vector<std::string> words = Words(line);
        if (words[0] == "layout") {
            AddLayout(table, words);
        } else if (words[0] == "list") {
            table.lists += '[' + words.at(1) + "]\n";
            for (std::size_t i = 2; i < words.size(); ++i) table.lists += words[i] + '\n';
        } else if (words[0] == "today") {
            const std::string& day = words.at(1);
            table.today = {std::stoi(day.substr(0, 4)),
                           std::stoi(day.substr(4, 2)),
                           std::stoi(day.substr(6, 2)),
                           10,
                           30,
                           0};
        } else if (words[0] == "defaults") {
            table.defaults[words.at(1).at(0)].assign(words.begin() + 2, words.end());
        } else if (words[0] == "off") {
            for (std::size_t i = 1; i < words.size(); ++i)
                table.off.push_back(*CodeNamed(words[i]));
        } else if (words[0] == "only") {
            for (const OptionDefinition& definition : OptionDefinitions()) {
                if (std::find(words.begin() + 1, words.end(), definition.name) == words.end())
                    table.off.push_back(definition.key);
            }
        } else {
            const std::vector<std::string> sides = SplitOutsideQuotes(line, "=>");
            ASSERT_EQ(sides.size(), 2u) << path.filename() << ':' << lineNumber;
            std::vector<std::string> expected;
            for (const std::string& finding : SplitOutsideQuotes(sides[1], ";")) {
                if (finding.find_first_not_of(' ') != std::string::npos)
                    expected.push_back(Normalised(finding));
            }
            const std::vector<std::string> actual = Check(table, sides[0]);
            if (std::getenv("TALVERON_RULES_PRINT") != nullptr) {
                std::string written;
                for (const std::string& finding : actual)
                    written += (written.empty() ? " " : " ; ") + finding;
                std::cout << "CASE " << lineNumber << " " << sides[0] << "=>" << written << "\n";
            } else if (actual != expected) {
                std::string written;
                for (const std::string& finding : actual)
                    written += (written.empty() ? " " : " ; ") + finding;
                ADD_FAILURE() << path.filename().string() << ':' << lineNumber << ": " << sides[0]
                              << "\n  gives =>" << written;
            }
            ++cases;
        }
    }
    EXPECT_GT(cases, 0);
}

INSTANTIATE_TEST_SUITE_P(Tables, RuleTableTest,
                         ::testing::Values("field_types", "dose_rules", "record_rules",
                                           "record_lengths"),

                         [](const auto& info) { return info.param; });

/// report_ranges.rules: TOTAL => "LABEL", the range a person with that summed TEDE is counted in.
TEST(ReportRangeTable, EveryTotalFallsIntoItsRange) {
    std::ifstream in(kRules / "report_ranges.rules");
    int lineNumber = 0;
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (line.empty() || line.starts_with('#')) continue;
        const std::vector<std::string> words = Words(line);
        ASSERT_EQ(words.size(), 3u) << "report_ranges.rules:" << lineNumber;
        EXPECT_EQ(kDoseRangeLabels[DoseRangeOf(std::stod(words[0]))], words[2])
            << "report_ranges.rules:" << lineNumber << ": " << words[0];
        ++cases;
    }
    EXPECT_GT(cases, 0);
}

}  // namespace
}  // namespace talveron
