#pragma once

#include <array>
#include <span>

#include "bench/date_text.h"
#include "bench/random_stream.h"

namespace talveron::bench {

/// The calendar year every generated load file reports.
inline constexpr int kReportYear = 2024;
/// The most dose records one person gets in a generated file.
inline constexpr int kMaxPeriodsPerPerson = 12;

struct MonitoringPeriod {
    DateText start{};
    DateText end{};
};

using PeriodPlan = std::array<MonitoringPeriod, kMaxPeriodsPerPerson>;

/// `count` (1..12) monitoring periods of whole months within `year`, in date order, each
/// starting the day after the one before ends, so no two of them share a day. A person with
/// fewer than twelve periods may start later in the year. Returns the filled part of `plan`.
std::span<const MonitoringPeriod> PlanMonitoringPeriods(int year, int count, RandomStream& random,
                                                        PeriodPlan& plan);

}  // namespace talveron::bench
