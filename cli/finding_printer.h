#pragma once

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "engine/finding.h"
#include "run/validation_run.h"

namespace talveron {

/// The name of a check code as the configuration writes it ("IRL", "DVIC", ...).
std::string_view CheckCodeName(OptionKey code);

/// Prints findings of one load file in a machine-readable format.
class FindingPrinter {
public:
    virtual ~FindingPrinter() = default;
    /// Written once before the first file's output (the CSV header row).
    virtual void start(std::ostream&) const {}
    virtual void finding(std::ostream& out, const std::string& file, const Finding& finding,
                         const FindingPlace& place) const = 0;
    /// Written after a file's findings (the JSON summary object).
    virtual void finished(std::ostream&, const RunOutcome&) const {}
};

/// The printer of a format; nullptr for the text format, which prints no findings.
std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format);

}  // namespace talveron
