#include "report/dose_ranges.h"

namespace talveron {

std::size_t DoseRangeOf(double total) {
    if (total == 0) return 0;
    for (std::size_t i = 0; i < kDoseRangeUpperBounds.size(); ++i) {
        if (total <= kDoseRangeUpperBounds[i]) return i + 1;
    }
    return total < kTopDoseRangeFloor ? kDoseRangeCount - 2 : kDoseRangeCount - 1;
}

DoseRangeLimits LimitsOfDoseRange(std::size_t index) {
    if (index == 0) return {0.0, 0.0};
    if (index == kDoseRangeCount - 1) return {kTopDoseRangeFloor, std::nullopt};
    DoseRangeLimits limits;
    if (index >= 2) limits.lower = kDoseRangeUpperBounds[index - 2];
    limits.upper =
        index == kDoseRangeCount - 2 ? kTopDoseRangeFloor : kDoseRangeUpperBounds[index - 1];
    return limits;
}

}  // namespace talveron
