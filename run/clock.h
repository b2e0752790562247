#pragma once

#include <chrono>

#include "engine/calendar.h"

namespace talveron {

/// Where a run gets the time: the local date and time for dates, a steady clock for elapsed time.
/// Injected so that runs and tests can fix "now".
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
};

/// The system's local time and steady clock.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
    std::chrono::steady_clock::time_point steadyNow() const override;
};

}  // namespace talveron
