#include "config/option_check.h"

#include <algorithm>
#include <array>
#include <utility>

#include "config/number.h"
#include "config/option_settings.h"

namespace talveron {

namespace {

using enum OptionKey;

/// Each automatic-cancel limit with the switch that turns it on.
constexpr std::array<std::pair<OptionKey, OptionKey>, 4> kLimits{
    {{TE_VAL, TE}, {TW_VAL, TW}, {TEW_VAL, TEW}, {ME_VAL, ME}}};

const OptionDefinition* DefinitionNamed(std::string_view name) {
    const std::span<const OptionDefinition> definitions = OptionDefinitions();
    const auto it = std::find_if(definitions.begin(), definitions.end(),
                                 [&](const auto& d) { return FoldCase(d.name) == FoldCase(name); });
    return it == definitions.end() ? nullptr : &*it;
}

std::string UnknownKey(std::string_view section, std::string_view key) {
    std::string message =
        "key " + std::string(key) + " of " + Bracketed(section) + " is no option and is ignored";
    if (const OptionDefinition* elsewhere = DefinitionNamed(key)) {
        message += " (" + std::string(elsewhere->name) + " belongs in " +
                   Bracketed(elsewhere->section) + ")";
    }
    return message;
}

/// What is wrong with a value a run reads as `used`; empty when nothing is.
std::string ValueProblem(const OptionDefinition& definition, const std::string& read,
                         std::int16_t used) {
    const std::string readAs = std::to_string(used);
    if (!IsPlainWholeNumber(read)) return " is not a whole number; a run reads it as " + readAs;
    if (ParseNumber(read) != used)
        return " is out of range (-32768 to 32767); a run uses " + readAs;
    const auto limit = std::find_if(kLimits.begin(), kLimits.end(),
                                    [&](const auto& l) { return l.first == definition.key; });
    if (limit == kLimits.end() || used >= 0) return {};
    return " is negative, so while " + std::string(DefinitionOf(limit->second).name) +
           " is on every run stops at its first check";
}

}  // namespace

void CheckOptions(const IniDocument& document, ProblemList& problems) {
    const OptionSettings loaded = LoadOptionSettings(document);
    for (const std::string_view section :
         {kOutputOptionsSection, kAutoCancelSection, kValidationOptionsSection}) {
        document.forEachKey(section, [&](std::string_view key, std::string_view value) {
            if (key.starts_with(';')) return;
            const std::size_t line = document.keyLine(section, key);
            const OptionDefinition* definition = DefinitionNamed(key);
            if (definition == nullptr || definition->section != section) {
                problems.warning(line, UnknownKey(section, key));
                return;
            }
            if (value.empty()) return;  // the default
            const std::string read =
                ReadProfileValue(document, section, key, definition->defaultValue);
            if (const std::string problem =
                    ValueProblem(*definition, read, loaded.value(definition->key));
                !problem.empty()) {
                problems.warning(line, std::string(key) + "=" + std::string(value) + " of " +
                                           Bracketed(section) + problem);
            }
        });
    }
}

}  // namespace talveron
