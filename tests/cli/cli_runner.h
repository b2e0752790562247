#pragma once

#include <filesystem>
#include <map>
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
/// stands at 1 March 2025, 9:30, with only the given environment variables set.
inline CliRun RunTalveronCli(const std::vector<std::string>& arguments,
                             const std::filesystem::path& configDirectory = {},
                             const std::map<std::string, std::string>& variables = {},
                             bool outputIsTerminal = false) {
    const FakeClock clock({2025, 3, 1, 9, 30, 0});
    std::ostringstream out, err;
    CliRun run;
    const auto variable = [&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
    run.status = RunCli(arguments, out, err,
                        CliEnvironment{.configDirectory = configDirectory,
                                       .clock = clock,
                                       .outputIsTerminal = outputIsTerminal,
                                       .variable = variable});
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace talveron::testing
