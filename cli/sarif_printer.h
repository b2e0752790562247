#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cli/finding_printer.h"

namespace talveron {

/// One SARIF 2.1.0 log for the command, with one run per load file (each file is validated by
/// its own run of the engine): the results as they come, then the driver with one rule per check
/// code found, the invocation with its exit status, and the load file as the artifact.
std::unique_ptr<FindingPrinter> MakeSarifPrinter();

/// A "file://" URI of an absolute path, its bytes percent-encoded where a URI path needs it.
std::string FileUri(std::string_view absolutePath);

}  // namespace talveron
