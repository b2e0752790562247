#include "fuzz/number_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "config/number.h"

namespace talveron {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

/// [+-] digits [. digits] [E|e|D|d [+-] digits], at least one mantissa digit, nothing else.
bool IsPlainDecimal(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t wholeEnd = SkipDigits(text, at);
    std::size_t digits = wholeEnd - at;
    at = wholeEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        digits += fractionEnd - at - 1;
        at = fractionEnd;
    }
    if (digits == 0) return false;
    if (at < text.size() && std::string_view("EeDd").find(text[at]) != std::string_view::npos) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        const std::size_t exponentEnd = SkipDigits(text, at);
        if (exponentEnd == at) return false;
        at = exponentEnd;
    }
    return at == text.size();
}

/// The C library's reading of a plain decimal, D taken as E.
double ReferenceValue(std::string text) {
    std::replace(text.begin(), text.end(), 'D', 'e');
    std::replace(text.begin(), text.end(), 'd', 'e');
    return std::strtod(text.c_str(), nullptr);
}

std::string Shown(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string CheckRounding(double value) {
    const double rounded = RoundHalfEven(value);
    // The default floating-point environment rounds to the nearest, ties to even.
    const double expected = std::nearbyint(value);
    if (rounded == expected || (std::isnan(rounded) && std::isnan(expected))) return {};
    return Shown(value) + " rounds to " + Shown(rounded) + ", not " + Shown(expected);
}

std::string CheckSixteenBit(std::string_view input, double rounded) {
    const std::optional<std::int16_t> exact = ParseInt16(input);
    const bool fits = rounded >= INT16_MIN && rounded <= INT16_MAX;
    if (exact.has_value() != fits) {
        return "ParseInt16 disagrees on whether " + Shown(rounded) + " fits";
    }
    if (exact && *exact != rounded) {
        return "ParseInt16 gives " + std::to_string(*exact) + " for " + Shown(rounded);
    }
    const std::int16_t clamped = ParseInt16Clamped(input);
    const double expected = std::clamp<double>(rounded, INT16_MIN, INT16_MAX);
    if (clamped != expected) {
        return "ParseInt16Clamped gives " + std::to_string(clamped) + " for " + Shown(rounded);
    }
    return {};
}

}  // namespace

std::string CheckNumberConversion(std::string_view input, const std::filesystem::path&) {
    const double value = ParseNumber(input);
    if (std::isnan(value)) return "a text reads as NaN";
    std::string kept;
    std::copy_if(input.begin(), input.end(), std::back_inserter(kept),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    if (IsPlainDecimal(kept)) {
        const double expected = ReferenceValue(kept);
        if (!(value == expected)) {
            return "\"" + kept + "\" reads as " + Shown(value) + ", not " + Shown(expected);
        }
    }
    if (std::string problem = CheckRounding(value); !problem.empty()) return problem;
    return CheckSixteenBit(input, RoundHalfEven(value));
}

}  // namespace talveron
