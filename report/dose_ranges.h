#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace talveron {

/// The ranges of a person's summed TEDE that the summary report counts monitored persons in.
inline constexpr std::size_t kDoseRangeCount = 18;

/// The captions of the ranges, as the report prints them.
inline constexpr std::array<std::string_view, kDoseRangeCount> kDoseRangeLabels = {
    "No measurable exp.", "Meas. - 0.100", "0.100 - 0.250", "0.250 - 0.500", "0.500 - 0.750",
    "0.750 - 1.000",      "1.000 - 2.000", "2.000 - 3.000", "3.000 - 4.000", "4.000 - 5.000",
    "5.000 - 6.000",      "6.000 - 7.000", "7.000 - 8.000", "8.000 - 9.000", "9.000 - 10.00",
    "10.00 - 11.00",      "11.00 - 12.00", "      > 12.00",
};

/// The inclusive upper bounds of the second to the seventeenth range; the first holds exactly
/// 0, the last everything from 12.0 up, and a total above 11.999 and below 12.0 stays in the
/// seventeenth.
inline constexpr std::array<double, kDoseRangeCount - 2> kDoseRangeUpperBounds = {
    0.099, 0.249, 0.499, 0.749, 0.999, 1.999, 2.999,  3.999,
    4.999, 5.999, 6.999, 7.999, 8.999, 9.999, 10.999, 11.999,
};

/// The lowest total of the last range.
inline constexpr double kTopDoseRangeFloor = 12.0;

/// The 0-based index of the range a person's total falls into.
std::size_t DoseRangeOf(double total);

/// The bounds of a range for readers of machine-readable reports: totals above `lower` up to
/// and including `upper`, unset for no bound; except that the first range holds exactly 0 (both
/// bounds 0), the second leaves 0 out, the seventeenth stops below its upper bound 12.0 and the
/// last starts at its lower bound 12.0.
struct DoseRangeLimits {
    std::optional<double> lower;
    std::optional<double> upper;
};
DoseRangeLimits LimitsOfDoseRange(std::size_t index);

}  // namespace talveron
