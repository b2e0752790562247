#include "engine/run_counters.h"

#include <charconv>

namespace talveron {

void RunCounters::countRecord(char recordType, std::int64_t errors, std::int64_t warnings) {
    int row = -1;
    switch (recordType) {
        case 'D':
            row = 0;
            break;
        case 'I':
            row = 1;
            break;
        case 'C':
            row = 2;
            break;
        default:
            break;
    }
    if (row >= 0) {
        values[3 * row] += 1;
        values[3 * row + 1] += warnings;
        values[3 * row + 2] += errors;
    }
    values[kTotalRecords] += 1;
    values[kTotalWarnings] += warnings;
    values[kTotalErrors] += errors;
}

std::string FormatGrouped(std::int64_t value) {
    const bool negative = value < 0;
    const auto magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                    : static_cast<unsigned long long>(value);
    char digits[20];
    const auto digitCount = static_cast<std::size_t>(
        std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    char grouped[27];  // a sign, 20 digits and 6 separators
    std::size_t length = 0;
    if (negative) grouped[length++] = '-';
    // The first group takes what is left over by the groups of three.
    std::size_t groupEnd = digitCount % 3 == 0 ? 3 : digitCount % 3;
    for (std::size_t i = 0; i < digitCount; ++i) {
        if (i == groupEnd) {
            grouped[length++] = ',';
            groupEnd += 3;
        }
        grouped[length++] = digits[i];
    }
    return std::string(grouped, length);
}

}  // namespace talveron
