#include "report/dose_ranges.h"

namespace talveron {

std::size_t DoseRangeOf(double total) {
    if (total == 0) return 0;
    for (std::size_t i = 0; i < kDoseRangeUpperBounds.size(); ++i) {
        if (total <= kDoseRangeUpperBounds[i]) return i + 1;
    }
    return total < kTopDoseRangeFloor ? kDoseRangeCount - 2 : kDoseRangeCount - 1;
}

}  // namespace talveron
