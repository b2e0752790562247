#pragma once

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace talveron::testing {

/// A clock that never moves: the tests pass --as-of where dates matter.
class FixedClock final : public Clock {
public:
    LocalDateTime now() const override { return {2025, 3, 1, 9, 30, 0}; }
    std::chrono::steady_clock::time_point steadyNow() const override { return {}; }
};

/// What talveron-cli returned and printed.
struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

/// Runs talveron-cli in-process with the arguments (without the program name).
inline CliRun RunTalveronCli(const std::vector<std::string>& arguments,
                             const std::filesystem::path& configDirectory = {}) {
    const FixedClock clock;
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(arguments, out, err, CliEnvironment{configDirectory, clock});
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace talveron::testing
