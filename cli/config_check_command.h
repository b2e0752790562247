#pragma once

#include <filesystem>
#include <ostream>

namespace talveron {

/// talveron-cli --check-config: reads the configuration file as a run does and prints each
/// problem to `out` as "PATH:LINE: error|warning: MESSAGE", then (unless `quiet`) how many there
/// were to `err`. Returns 0 when there is none, 1 when there are some, 2 when the file cannot be
/// read (with the reason on `err`).
int CheckConfigurationFile(const std::filesystem::path& path, std::ostream& out, std::ostream& err,
                           bool quiet);

}  // namespace talveron
