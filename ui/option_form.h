#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/ini_document.h"
#include "config/option_settings.h"

namespace talveron {

/// The options dialog's controls as values: a tick per switch and check code, and the text typed
/// into the box of each of the four limits.
struct OptionForm {
    std::array<bool, kOptionCount> ticked{};            ///< unused for the limits
    std::array<std::string, kOptionCount> limitText{};  ///< used for the limits only

    bool& tick(OptionKey key) { return ticked[static_cast<std::size_t>(key)]; }
    bool tick(OptionKey key) const { return ticked[static_cast<std::size_t>(key)]; }
    std::string& text(OptionKey key) { return limitText[static_cast<std::size_t>(key)]; }
    const std::string& text(OptionKey key) const {
        return limitText[static_cast<std::size_t>(key)];
    }
};

/// TE_VAL, TW_VAL, TEW_VAL and ME_VAL: the limits typed into text boxes.
bool IsLimit(OptionKey key);

/// The switch that arms a limit (TE for TE_VAL, ...).
OptionKey SwitchOfLimit(OptionKey limit);

/// The form as the dialog opens: a tick for every non-zero setting, the limits as plain digits.
OptionForm FormOf(const OptionSettings& settings);

/// The text OK writes for a limit: as typed, except that a negative number (by the number rule)
/// under a ticked switch becomes "0", or "1" for the minutes limit.
std::string LimitTextToWrite(OptionKey limit, bool switchTicked, std::string_view typed);

/// OK: writes every key of the three option sections in their order, switches as "-1" or "0" and
/// limits by LimitTextToWrite. Everything else in the document is left as it was.
void WriteOptionForm(const OptionForm& form, IniDocument& configuration);

}  // namespace talveron
