#include "bench/monitoring_periods.h"

#include <algorithm>
#include <utility>

namespace talveron::bench {

std::span<const MonitoringPeriod> PlanMonitoringPeriods(int year, int count, RandomStream& random,
                                                        PeriodPlan& plan) {
    count = std::clamp(count, 1, kMaxPeriodsPerPerson);
    // Most people are monitored from January; some join later in the year.
    const int firstMonth = random.chance(7000) ? 1 : random.between(1, 13 - count);

    // The months after the first one at which a new period may begin; the first count - 1 of
    // a partial shuffle are the ones that do.
    std::array<int, kMaxPeriodsPerPerson> starts{};
    const int candidates = 12 - firstMonth;
    for (int i = 0; i < candidates; ++i) starts[static_cast<std::size_t>(i)] = firstMonth + 1 + i;
    for (int i = 0; i < count - 1; ++i) {
        const int pick = random.between(i, candidates - 1);
        std::swap(starts[static_cast<std::size_t>(i)], starts[static_cast<std::size_t>(pick)]);
    }
    std::sort(starts.begin(), starts.begin() + (count - 1));

    int month = firstMonth;
    for (int i = 0; i < count; ++i) {
        const int next = i + 1 < count ? starts[static_cast<std::size_t>(i)] : 13;
        plan[static_cast<std::size_t>(i)] = {
            MakeDateText(year, month, 1),
            MakeDateText(year, next - 1, DaysInMonth(year, next - 1))};
        month = next;
    }
    return std::span<const MonitoringPeriod>(plan.data(), static_cast<std::size_t>(count));
}

}  // namespace talveron::bench
