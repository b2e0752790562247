#include "run/progress_meter.h"

#include "config/number.h"

namespace talveron {

namespace {

int Percent(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

void ProgressMeter::show(int pass, int overall) {
    const int newPass = pass <= 100 ? pass : pass_;
    const int newOverall = overall <= 100 ? overall : overall_;
    if (newPass == pass_ && newOverall == overall_) return;
    pass_ = newPass;
    overall_ = newOverall;
    observer_.progressChanged(pass_, overall_);
}

void ProgressMeter::startRun() { show(pass_, 0); }

void ProgressMeter::passLine(std::int64_t consumed, std::int64_t fileLength, double share,
                             double offset) {
    if (fileLength <= 0) return;
    const bool unchanged =
        fileLength == lastLength_ && consumed >= lastConsumed_ && consumed < nextCheck_;
    lastConsumed_ = consumed;
    lastLength_ = fileLength;
    if (unchanged) return;
    const int percent =
        Percent(static_cast<double>(consumed) * 100.0 / static_cast<double>(fileLength));
    // The percentage can next change once consumed reaches (percent + 0.5)% of the file; one
    // byte early keeps the bound safe from rounding.
    nextCheck_ =
        static_cast<std::int64_t>((percent + 0.5) * static_cast<double>(fileLength) / 100.0) - 1;
    if (percent == pass_) return;
    const int overall =
        percent > 0 ? Percent(percent * share / 100.0) + static_cast<int>(offset) : overall_;
    show(percent, overall);
}

void ProgressMeter::registrationLine(std::int64_t consumed, std::int64_t fileLength) {
    passLine(consumed, fileLength, 30, 0);
}

void ProgressMeter::endRegistration() { show(0, overall_); }

void ProgressMeter::mainLine(std::int64_t consumed, std::int64_t fileLength, bool reportFollows) {
    passLine(consumed, fileLength, 60, reportFollows ? 30 : 40);
}

void ProgressMeter::endMainPass() { show(100, 100); }

void ProgressMeter::summary(int percent) { show(percent, Percent(90 + percent * 10 / 100.0)); }

}  // namespace talveron
