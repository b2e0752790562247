#include "run/clock.h"

#include <ctime>

namespace talveron {

LocalDateTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::chrono::steady_clock::time_point SystemClock::steadyNow() const {
    // The coarse monotonic clock costs a few nanoseconds where the precise one costs tens; runs
    // read it for every record and finding, and show elapsed time to the second.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::steady_clock::time_point(std::chrono::seconds(now.tv_sec) +
                                                 std::chrono::nanoseconds(now.tv_nsec));
}

}  // namespace talveron
