#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bench/random_stream.h"
#include "config/ini_document.h"

namespace talveron::bench {

/// The radionuclides a generated intake may name: the valid keys of Radionuclide_List written
/// element, hyphen, mass number ("I-131") that fit in `width` characters, in file order.
std::vector<std::string> RadionuclideChoices(const IniDocument& configuration, std::size_t width);

/// An intake in microcuries as written: one digit, a decimal, two exponent digits ("2.7E-01").
using IntakeText = std::array<char, 7>;

/// One intake record's values. The class and mode always agree: a class of the lung models with
/// mode H (inhalation), or class G with mode G.
struct IntakeDraw {
    std::string_view radionuclide;
    char intakeClass = 'D';
    char mode = 'H';
    IntakeText amount{};
};

/// A realistic intake; `radionuclides` must not be empty.
IntakeDraw DrawIntake(std::span<const std::string> radionuclides, RandomStream& random);

}  // namespace talveron::bench
