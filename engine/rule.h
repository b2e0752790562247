#pragma once

#include <string_view>

#include "config/option_settings.h"
#include "engine/finding.h"

namespace talveron {

/// A check as the operator knows it: the check code that switches it, the level of its finding
/// and its fixed message (for checks whose message is composed, the fixed part or empty).
struct Rule {
    OptionKey code;
    Level level;
    std::string_view message;
};

}  // namespace talveron
