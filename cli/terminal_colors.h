#pragma once

#include <string>
#include <string_view>

namespace talveron {

/// What a coloured text stands for.
enum class Tone { Error, Warning, Clean, Strong };

/// ANSI colours for the text and gnu formats; text passes unchanged when colour is off.
class TerminalColors {
public:
    explicit TerminalColors(bool on = false) : on_(on) {}

    bool on() const { return on_; }
    std::string paint(std::string_view text, Tone tone) const;

private:
    bool on_;
};

}  // namespace talveron
