#pragma once

#include <cstdint>

#include "run/run_observer.h"

namespace talveron {

/// The two progress indicators of a run: the current pass and the whole run, in percent. Each
/// tells the observer only when a shown value changes; a value above 100 is not taken.
class ProgressMeter {
public:
    explicit ProgressMeter(RunObserver& observer) : observer_(observer) {}

    /// Start of a run: the whole-run indicator at 0.
    void startRun();
    /// After a line of the registration pass (30% of the run).
    void registrationLine(std::int64_t consumed, std::int64_t fileLength);
    void endRegistration();
    /// After a line of the main pass (60% of the run, after 30% or 40% without a report).
    void mainLine(std::int64_t consumed, std::int64_t fileLength, bool reportFollows);
    void endMainPass();
    /// The summary report's own progress, moving the whole run from 90 to 100.
    void summary(int percent);

    int pass() const { return pass_; }
    int overall() const { return overall_; }

private:
    void passLine(std::int64_t consumed, std::int64_t fileLength, double share, double offset);
    void show(int pass, int overall);

    RunObserver& observer_;
    int pass_ = 0;
    int overall_ = 0;
    // While consumed grows through the same file and stays below nextCheck_, the pass percentage
    // cannot differ from the last one worked out, so most lines cost two comparisons.
    std::int64_t lastConsumed_ = 0;
    std::int64_t lastLength_ = 0;
    std::int64_t nextCheck_ = 0;
};

}  // namespace talveron
