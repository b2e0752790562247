#pragma once

#include <memory>

#include "cli/finding_printer.h"

namespace talveron {

/// JSON Lines: one object per finding, then one summary object per file (schema 1, described in
/// docs/file-formats.md and docs/talveron-cli.schema.json); `masked`: the summary says that
/// personal data is masked.
std::unique_ptr<FindingPrinter> MakeJsonPrinter(bool masked);

}  // namespace talveron
