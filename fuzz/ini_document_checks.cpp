#include "fuzz/ini_document_checks.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "config/configuration_check.h"
#include "config/ini_document.h"

namespace talveron {

namespace {

// Enough names to reach every kind of line of a short input; queries grow with the square.
constexpr std::size_t kMaxNames = 24;
constexpr std::size_t kMaxValueLength = 1023;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return upper;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Shown(std::optional<std::string_view> value) {
    return value ? Quoted(*value) : std::string("(absent)");
}

/// Names to query: what the lines hold between "[" and "]" and before "=", found by a plain
/// scan (candidates only, not expectations), and one name of each kind the text lacks; and the
/// texts after "=", as values to write.
struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    std::vector<std::string> values;
};

void AddName(std::vector<std::string>& names, std::string_view name) {
    if (names.size() < kMaxNames && std::find(names.begin(), names.end(), name) == names.end()) {
        names.emplace_back(name);
    }
}

Names CandidateNames(std::string_view text) {
    Names names;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        const std::string_view line = text.substr(begin, end - begin);
        if (const std::size_t open = line.find('['); open != std::string_view::npos) {
            const std::size_t close = std::min(line.find(']', open), line.size());
            AddName(names.sections, Trimmed(line.substr(open + 1, close - open - 1)));
        }
        if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            AddName(names.keys, Trimmed(line.substr(0, equals)));
            AddName(names.values, Trimmed(line.substr(equals + 1)));
        }
        begin = end + 1;
    }
    AddName(names.sections, "Absent Section");
    AddName(names.keys, "AbsentKey");
    return names;
}

std::string Pair(std::string_view section, std::string_view key) {
    return "[" + std::string(section) + "] " + std::string(key);
}

bool Inside(std::string_view part, const std::string& text) {
    const std::less_equal<const char*> notAfter;
    return notAfter(text.data(), part.data()) &&
           notAfter(part.data() + part.size(), text.data() + text.size());
}

std::string CheckValue(const IniDocument& document, const std::string& section,
                       const std::string& key) {
    const std::optional<std::string_view> value = document.find(section, key);
    const std::optional<std::string_view> verbatim = document.verbatim(section, key);
    const std::string where = Pair(section, key);
    if (verbatim && HasLineBreak(*verbatim)) return where + ": the verbatim text spans lines";
    if (document.find(Upper(section), Upper(key)) != value) {
        return where + ": the lookup depends on letter case";
    }
    const std::string read = ReadProfileValue(document, section, key, "<default>");
    if (!value) return read == "<default>" ? "" : where + ": absent, yet read as " + Quoted(read);
    if (value->empty()) return where + ": an empty value is delivered";
    if (value->size() > kMaxValueLength) return where + ": a value longer than 1023 characters";
    if (HasLineBreak(*value)) return where + ": the value spans lines";
    if (!verbatim) return where + ": a value without a verbatim text";
    if (!Inside(*value, document.text())) return where + ": the value is not part of the text";
    const std::string_view mapped = *value == "True" ? "-1" : *value == "False" ? "0" : *value;
    if (read != mapped) return where + ": read as " + Quoted(read) + " instead of " + Shown(value);
    return {};
}

std::string CheckKeysOfSection(const IniDocument& document, const std::string& section) {
    std::set<std::string> seen;
    std::string problem;
    document.forEachKey(section, [&](std::string_view key, std::string_view value) {
        if (!problem.empty()) return;
        if (!seen.insert(FoldCase(key)).second) {
            problem = Pair(section, key) + ": visited twice";
        } else if (document.find(section, key).value_or("") != value) {
            problem = Pair(section, key) + ": visited with " + Quoted(value) + ", found as " +
                      Shown(document.find(section, key));
        }
    });
    return problem;
}

std::string CheckQueries(const IniDocument& document, const Names& names) {
    for (const std::string& section : names.sections) {
        for (const std::string& key : names.keys) {
            if (std::string problem = CheckValue(document, section, key); !problem.empty()) {
                return problem;
            }
        }
        if (std::string problem = CheckKeysOfSection(document, section); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

// Names and values that a "[section]" line and a "key=value" line deliver unchanged.
bool WritableSection(std::string_view name) {
    return !HasLineBreak(name) && name.find(']') == std::string_view::npos && Trimmed(name) == name;
}
bool WritableKey(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find('=') == std::string_view::npos &&
           name.front() != '[' && Trimmed(name) == name;
}
bool WritableValue(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    return !HasLineBreak(value) && Trimmed(value) == value && value.size() <= kMaxValueLength &&
           !quoted;
}

std::uint64_t Hash(std::string_view text) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return hash;
}

std::string Pick(const std::vector<std::string>& names, bool (*writable)(std::string_view),
                 std::string_view fallback, std::uint64_t choice) {
    std::vector<std::string> usable;
    std::copy_if(names.begin(), names.end(), std::back_inserter(usable),
                 [&](const std::string& name) { return writable(name); });
    usable.emplace_back(fallback);
    return usable[choice % usable.size()];
}

/// The bytes that an edit removed from the old text: what lies between the longest common
/// prefix and the longest common suffix.
std::string_view RemovedBytes(std::string_view before, std::string_view after) {
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first -
        before.begin());
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return before.substr(prefix, before.size() - prefix - suffix);
}

std::string CheckEdit(const IniDocument& document, const Names& names, std::uint64_t choice) {
    const std::string section = Pick(names.sections, WritableSection, "Added Section", choice);
    const std::string key = Pick(names.keys, WritableKey, "AddedKey", choice >> 16);
    const std::string value = (choice >> 32) % 5 == 0
                                  ? ""
                                  : Pick(names.values, WritableValue,
                                         std::to_string((choice >> 35) % 100000), choice >> 40);
    const std::string where = "setting " + Pair(section, key) + " to " + Quoted(value);
    // An empty value reads as absent; any other reads back as written.
    const auto readsBack = [&](const std::optional<std::string_view>& found) {
        return value.empty() ? !found.has_value() : found.has_value() && *found == value;
    };

    IniDocument edited = document;
    edited.setValue(section, key, value);
    if (!readsBack(edited.find(section, key))) {
        return where + " reads back " + Shown(edited.find(section, key));
    }
    if (!readsBack(IniDocument(edited.text()).find(section, key))) {
        return where + ": the text reads otherwise";
    }
    if (HasLineBreak(RemovedBytes(document.text(), edited.text()))) {
        return where + " removed a line end";
    }
    for (const std::string& otherSection : names.sections) {
        for (const std::string& otherKey : names.keys) {
            if (FoldCase(otherSection) == FoldCase(section) &&
                FoldCase(otherKey) == FoldCase(key)) {
                continue;
            }
            if (edited.find(otherSection, otherKey) != document.find(otherSection, otherKey)) {
                return where + " changed " + Pair(otherSection, otherKey);
            }
        }
    }
    IniDocument again = edited;
    again.setValue(section, key, value);
    if (again.text() != edited.text()) return where + " twice changes the text twice";
    WriteProfileValue(again, section, key, "True");
    if (again.find(section, key) != std::optional<std::string_view>("-1")) {
        return where + ": True is not written as -1";
    }
    return {};
}

}  // namespace

std::string CheckIniDocument(std::string_view input, const std::filesystem::path&) {
    const IniDocument document{std::string(input)};
    if (document.text() != input) return "the text is not held byte for byte";
    const Names names = CandidateNames(input);
    if (std::string problem = CheckQueries(document, names); !problem.empty()) return problem;
    // The configuration check takes any text, and names only lines the text has.
    const auto lines =
        1 + static_cast<std::size_t>(std::count_if(input.begin(), input.end(), IsLineBreak));
    for (const ConfigurationProblem& problem : CheckConfiguration(document)) {
        if (problem.line > lines) return "a configuration problem past the last line";
    }
    return CheckEdit(document, names, Hash(input));
}

}  // namespace talveron
