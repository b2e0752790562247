#include "config/number.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace talveron {
namespace {

// Beyond this an exponent gives infinity or zero whatever the digits; saturating keeps the
// arithmetic below in range.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsExponentLetter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsSkippedBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string WithoutSkippedBlanks(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char c) { return !IsSkippedBlank(c); });
    return kept;
}

std::string_view LeadingDigits(std::string_view text) {
    const auto end = std::find_if_not(text.begin(), text.end(), IsDigit);
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

// Hexadecimal and octal literals denote 16-bit, then 32-bit two's-complement patterns.
double FromPattern(double value) {
    if (value <= 0xFFFF) return value >= 0x8000 ? value - 0x10000 : value;
    if (value <= 0xFFFFFFFF) return value >= 0x80000000 ? value - 0x100000000 : value;
    return value;
}

double ParseRadix(std::string_view digits, int radix) {
    double value = 0;
    for (const char c : digits) {
        const int digit = DigitValue(c);
        if (digit < 0 || digit >= radix) break;
        value = value * radix + digit;
    }
    return FromPattern(value);
}

std::int64_t ParseExponent(std::string_view text) {
    if (text.empty() || !IsExponentLetter(text[0])) return 0;
    text.remove_prefix(1);
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    std::int64_t exponent = 0;
    for (const char c : LeadingDigits(text))
        exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
    return negative ? -exponent : exponent;
}

/// Exact in double: mantissas below 10^15 and powers of ten up to 10^22, so one multiplication or
/// division rounds correctly (the common short values of records never reach strtod).
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kFastSignificantDigits = 15;

std::optional<double> FastDecimal(bool negative, std::string_view whole, std::string_view fraction,
                                  std::int64_t exponent) {
    if (exponent < -22 || exponent > 22) return std::nullopt;
    std::uint64_t mantissa = 0;
    int significant = 0;
    for (const std::string_view digits : {whole, fraction}) {
        for (const char c : digits) {
            if (mantissa == 0 && c == '0') continue;
            if (++significant > kFastSignificantDigits) return std::nullopt;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    double value = static_cast<double>(mantissa);
    value = exponent < 0 ? value / kPowersOfTen[-exponent] : value * kPowersOfTen[exponent];
    return negative ? -value : value;
}

// The digits are handed to strtod without a decimal point (the fraction moves into the exponent),
// so the result is correctly rounded and does not depend on the locale's decimal separator.
double ParseDecimal(std::string_view text) {
    std::string_view sign;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text.substr(0, 1);
        text.remove_prefix(1);
    }
    const std::string_view whole = LeadingDigits(text);
    text.remove_prefix(whole.size());
    std::string_view fraction;
    if (!text.empty() && text[0] == '.') {
        fraction = LeadingDigits(text.substr(1));
        text.remove_prefix(1 + fraction.size());
    }
    if (whole.empty() && fraction.empty()) return 0;
    const std::int64_t exponent = ParseExponent(text) - static_cast<std::int64_t>(fraction.size());
    if (const auto fast = FastDecimal(sign == "-", whole, fraction, exponent)) return *fast;
    std::string normalised(sign);
    normalised.append(whole).append(fraction).append("e").append(std::to_string(exponent));
    return std::strtod(normalised.c_str(), nullptr);
}

/// The common plain decimal ("12", "-0.125", "20240101") in one pass. Declines, leaving the text to
/// the general reader, whenever a blank, an exponent, a radix prefix or many digits appear.
std::optional<double> QuickDecimal(std::string_view text) {
    const char* cursor = text.data();
    const char* const end = cursor + text.size();
    const bool negative = cursor != end && *cursor == '-';
    if (cursor != end && (*cursor == '-' || *cursor == '+')) ++cursor;
    std::uint64_t mantissa = 0;
    const char* const wholeBegin = cursor;
    while (cursor != end && static_cast<unsigned char>(*cursor - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*cursor - '0');
        ++cursor;
    }
    const std::ptrdiff_t wholeDigits = cursor - wholeBegin;
    std::ptrdiff_t fractionDigits = 0;
    if (cursor != end && *cursor == '.') {
        const char* const fractionBegin = ++cursor;
        while (cursor != end && static_cast<unsigned char>(*cursor - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*cursor - '0');
            ++cursor;
        }
        fractionDigits = cursor - fractionBegin;
    }
    if (cursor != end && (IsSkippedBlank(*cursor) || IsExponentLetter(*cursor) || *cursor == '&')) {
        return std::nullopt;
    }
    // Leading zeros count here too: a long text goes the general way even when it would fit.
    if (wholeDigits + fractionDigits > kFastSignificantDigits) return std::nullopt;
    const double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    return negative ? -value : value;
}

/// What QuickDecimal declines: blanks to skip, radix prefixes, exponents, long mantissas. Kept
/// out of line, so that the common case does not pay for its frame.
[[gnu::noinline]] double ParseGeneralNumber(std::string_view text) {
    std::string kept;
    std::string_view number = text;
    if (std::any_of(text.begin(), text.end(), IsSkippedBlank)) {
        kept = WithoutSkippedBlanks(text);
        number = kept;
    }
    if (number.size() >= 2 && number[0] == '&') {
        const std::string_view digits = number.substr(2);
        if (number[1] == 'H' || number[1] == 'h') return ParseRadix(digits, 16);
        if (number[1] == 'O' || number[1] == 'o') return ParseRadix(digits, 8);
    }
    return ParseDecimal(number);
}

/// std::floor without the library call: below 2^52 in magnitude a double converts to a 64-bit
/// integer exactly; at or above it (or infinite, or NaN) it has no fraction to drop.
double Floor(double value) {
    constexpr double kNoFractionFrom = 4503599627370496.0;  // 2^52
    if (!(std::fabs(value) < kNoFractionFrom) || value == 0) return value;
    const auto whole = static_cast<double>(static_cast<std::int64_t>(value));
    return whole > value ? whole - 1 : whole;
}

}  // namespace

double ParseNumber(std::string_view text) {
    if (const auto quick = QuickDecimal(text)) return *quick;
    return ParseGeneralNumber(text);
}

double RoundHalfEven(double value) {
    // Explicit rather than nearbyint, so the result does not depend on the rounding mode.
    const double below = Floor(value);
    const double rest = value - below;
    if (rest < 0.5) return below;
    if (rest > 0.5) return below + 1;
    const double half = below / 2;
    return half == Floor(half) ? below : below + 1;
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    const double rounded = RoundHalfEven(ParseNumber(text));
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::int16_t ParseInt16Clamped(std::string_view text) {
    const double rounded = RoundHalfEven(ParseNumber(text));
    if (std::isnan(rounded)) return 0;
    return static_cast<std::int16_t>(std::clamp<double>(rounded, INT16_MIN, INT16_MAX));
}

bool IsPlainWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace talveron
