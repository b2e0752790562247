#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/terminal_colors.h"
#include "engine/finding.h"
#include "run/validation_run.h"

namespace talveron {

/// The name of a check code as the configuration writes it ("IRL", "DVIC", ...).
std::string_view CheckCodeName(OptionKey code);

/// The type the dispatcher gave a finding's record as text ("H", "D", ...); empty when none.
std::string_view RecordTypeText(const FindingPlace& place);

/// Prints the findings of one load file as they come, then what the file's run came to.
class FilePrinter {
public:
    virtual ~FilePrinter() = default;
    virtual void finding(const Finding& finding, const FindingPlace& place) = 0;
    /// After the file's findings, once, whatever the run came to (the JSON summary object, the
    /// end of the SARIF run).
    virtual void finished(const RunOutcome&) {}
};

/// A machine-readable format for the whole command: one printer per load file, each writing
/// only to its own stream, so that files can be validated at once and printed in order.
class FindingPrinter {
public:
    virtual ~FindingPrinter() = default;
    /// Written once before the first file's output (the CSV header row, the SARIF log's start).
    virtual void start(std::ostream&) const {}
    /// The printer of load file `index` (command-line order) named `file` as given; it may write
    /// the file's opening to `out` at once.
    virtual std::unique_ptr<FilePrinter> forFile(std::ostream& out, const std::string& file,
                                                 std::size_t index) const = 0;
    /// Written once after the last file's output (the SARIF log's end).
    virtual void end(std::ostream&) const {}
};

/// The printer of a format; nullptr for the text format, which prints no findings. Only the gnu
/// format uses colours.
std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format,
                                                   const TerminalColors& colors);

}  // namespace talveron
