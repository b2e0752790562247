#include "engine/run_counters.h"

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
    const std::string digits = std::to_string(magnitude);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 1);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return negative ? "-" + grouped : grouped;
}

}  // namespace talveron
