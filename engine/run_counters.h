#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace talveron {

/// The twelve counters of records, warnings and errors: index 3 x row + column, rows Dose,
/// Intake, Comment, Total and columns records, warnings, errors.
struct RunCounters {
    static constexpr int kDoseRecords = 0, kDoseWarnings = 1, kDoseErrors = 2;
    static constexpr int kIntakeRecords = 3, kIntakeWarnings = 4, kIntakeErrors = 5;
    static constexpr int kCommentRecords = 6, kCommentWarnings = 7, kCommentErrors = 8;
    static constexpr int kTotalRecords = 9, kTotalWarnings = 10, kTotalErrors = 11;

    std::array<std::int64_t, 12> values{};

    std::int64_t totalWarnings() const { return values[kTotalWarnings]; }
    std::int64_t totalErrors() const { return values[kTotalErrors]; }

    /// Adds one record of the given type letter with its error and warning tallies;
    /// types other than D, I and C count in the totals only.
    void countRecord(char recordType, std::int64_t errors, std::int64_t warnings);

    bool operator==(const RunCounters&) const = default;
};

/// A whole number formatted "#,##0": thousands separated by ",".
std::string FormatGrouped(std::int64_t value);

}  // namespace talveron
