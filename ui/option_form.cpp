#include "ui/option_form.h"

#include "config/number.h"

namespace talveron {

bool IsLimit(OptionKey key) {
    return key == OptionKey::TE_VAL || key == OptionKey::TW_VAL || key == OptionKey::TEW_VAL ||
           key == OptionKey::ME_VAL;
}

OptionKey SwitchOfLimit(OptionKey limit) {
    // Each limit follows its switch in the key order.
    return static_cast<OptionKey>(static_cast<std::uint8_t>(limit) - 1);
}

OptionForm FormOf(const OptionSettings& settings) {
    OptionForm form;
    for (const OptionDefinition& definition : OptionDefinitions()) {
        if (IsLimit(definition.key)) {
            form.text(definition.key) = std::to_string(settings.value(definition.key));
        } else {
            form.tick(definition.key) = settings.on(definition.key);
        }
    }
    return form;
}

std::string LimitTextToWrite(OptionKey limit, bool switchTicked, std::string_view typed) {
    if (switchTicked && ParseNumber(typed) < 0) return limit == OptionKey::ME_VAL ? "1" : "0";
    return std::string(typed);
}

void WriteOptionForm(const OptionForm& form, IniDocument& configuration) {
    for (const OptionDefinition& definition : OptionDefinitions()) {
        const std::string value =
            IsLimit(definition.key)
                ? LimitTextToWrite(definition.key, form.tick(SwitchOfLimit(definition.key)),
                                   form.text(definition.key))
                : (form.tick(definition.key) ? "-1" : "0");
        WriteProfileValue(configuration, definition.section, definition.name, value);
    }
}

}  // namespace talveron
