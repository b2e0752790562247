#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "config/profile_file.h"
#include "run/clock.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const talveron::SystemClock clock;
    const talveron::CliEnvironment environment{
        talveron::ConfigurationDirectory([](const char* name) { return std::getenv(name); }),
        clock};
    return talveron::RunCli(arguments, std::cout, std::cerr, environment);
}
