#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/terminal_colors.h"
#include "engine/finding.h"
#include "report/baseline_comparison.h"
#include "report/finding_identity.h"
#include "run/validation_run.h"

namespace talveron {

/// The name of a check code as the configuration writes it ("IRL", "DVIC", ...).
std::string_view CheckCodeName(OptionKey code);

/// A record type as text ("H", "D", ...): a view of `recordType` itself; empty for none (0).
std::string_view RecordTypeText(const char& recordType);

/// A finding as the printers print it: one of this run (views into its record, masked when
/// asked), or one of the earlier run that no finding of this run matched (Fixed, without its
/// record). Views are valid only during the call that passes it.
struct PrintedFinding {
    FindingIdentity identity;  ///< record type, person, monitoring period, check code, field name
    std::int64_t line = 0;
    std::int32_t field = 0;      ///< the field's ordinal in its layout; 0 when none
    std::int32_t character = 0;  ///< 1-based; 0 when none
    std::int32_t spanFirst = 0;  ///< the span pointed at; 0 when none
    std::int32_t spanLast = 0;
    Level level = Level::Error;  ///< the counter it went to
    Level writtenLevel = Level::Error;
    std::string_view message;
    std::string_view value;                 ///< the field's trimmed value
    std::string_view record;                ///< the whole line; empty for an earlier run's finding
    std::optional<BaselineState> baseline;  ///< set when the command compares with a baseline
};

/// What a file's run came to, as the command counts it.
struct FileEnd {
    int exitStatus = 0;
    /// The findings new, unchanged and fixed against the baseline, when compared with one.
    std::optional<BaselineCounts> baseline;
};

/// Prints the findings of one load file as they come, then what the file's run came to.
class FilePrinter {
public:
    virtual ~FilePrinter() = default;
    /// Each finding of the run in file order, then each fixed finding of the baseline.
    virtual void finding(const PrintedFinding& finding) = 0;
    /// After the file's findings, once, whatever the run came to (the JSON summary object, the
    /// end of the SARIF run).
    virtual void finished(const RunOutcome&, const FileEnd&) {}
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

/// What the printers of the command print besides the findings.
struct PrinterSettings {
    bool baseline = false;  ///< findings are compared with a baseline
    bool masked = false;    ///< personal data is masked in what is printed
};

/// The printer of a format. The text format prints findings only when compared with a baseline
/// (the new and fixed ones, after the file's summary): nullptr otherwise. Only the text and gnu
/// formats use colours; csv adds a baseline column when compared.
std::unique_ptr<FindingPrinter> MakeFindingPrinter(OutputFormat format,
                                                   const TerminalColors& colors,
                                                   const PrinterSettings& settings);

/// Where a finding is, as the gnu and text formats show it: "LINE.FIRST-LAST", "LINE.FIRST"
/// for a one-character span, "LINE" without one.
std::string FindingPosition(const PrintedFinding& finding);

/// "error: MESSAGE [CODE]" or "warning: ...", the level coloured when colour is on.
std::string FindingText(const PrintedFinding& finding, const TerminalColors& colors);

}  // namespace talveron
