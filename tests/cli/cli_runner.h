#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/test_support.h"

namespace talveron::testing {

/// What talveron-cli returned and printed.
struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

/// Runs talveron-cli in-process with the arguments (without the program name) on a clock that
/// stands at 1 March 2025, 9:30.
inline CliRun RunTalveronCli(const std::vector<std::string>& arguments,
                             const std::filesystem::path& configDirectory = {}) {
    const FakeClock clock({2025, 3, 1, 9, 30, 0});
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(arguments, out, err, CliEnvironment{configDirectory, clock});
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace talveron::testing
