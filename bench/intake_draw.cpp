#include "bench/intake_draw.h"

#include <algorithm>
#include <cctype>

namespace talveron::bench {

namespace {

/// Letters, digits and one hyphen that is neither first nor last: what the radionuclide field
/// accepts and what the hyphen-dropping fault can spoil.
bool IsElementMass(std::string_view name) {
    const auto hyphen = name.find('-');
    if (hyphen == std::string_view::npos || hyphen == 0 || hyphen + 1 == name.size()) return false;
    if (name.find('-', hyphen + 1) != std::string_view::npos) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return c == '-' || std::isalnum(static_cast<unsigned char>(c));
    });
}

}  // namespace

std::vector<std::string> RadionuclideChoices(const IniDocument& configuration, std::size_t width) {
    std::vector<std::string> choices;
    configuration.forEachKey(
        "Radionuclide_List", [&](std::string_view key, std::string_view value) {
            if (value.empty() || value == "$" || key.size() > width || !IsElementMass(key)) return;
            choices.emplace_back(key);
        });
    return choices;
}

IntakeDraw DrawIntake(std::span<const std::string> radionuclides, RandomStream& random) {
    constexpr std::string_view kLungClasses = "DWYFMSVO";
    IntakeDraw intake;
    intake.radionuclide =
        radionuclides[random.below(static_cast<std::uint32_t>(radionuclides.size()))];
    if (random.chance(1500)) {
        intake.intakeClass = 'G';
        intake.mode = 'G';
    } else {
        intake.intakeClass = kLungClasses[random.below(kLungClasses.size())];
        intake.mode = 'H';
    }
    const int mantissa = random.between(10, 99);
    const int exponent = random.between(-3, 2);
    intake.amount = {static_cast<char>('0' + mantissa / 10),
                     '.',
                     static_cast<char>('0' + mantissa % 10),
                     'E',
                     exponent < 0 ? '-' : '+',
                     '0',
                     static_cast<char>('0' + (exponent < 0 ? -exponent : exponent))};
    return intake;
}

}  // namespace talveron::bench
