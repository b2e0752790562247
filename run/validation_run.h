#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/status.h"
#include "config/value_lists.h"
#include "engine/calendar.h"
#include "engine/run_counters.h"
#include "run/cancel_request.h"
#include "run/clock.h"
#include "run/line_chunk.h"
#include "run/run_observer.h"
#include "run/run_outcome.h"
#include "run/run_paths.h"
#include "run/temporary_file_list.h"

namespace talveron {

/// The most dose and intake records one run registers (together): the register keeps every one in
/// memory, about 50 bytes each, and numbers them with 32 bits.
inline constexpr std::int64_t kMaxRegisteredRecords = 50'000'000;

/// What a run checks against. The layouts and options are read once and shared read-only by
/// any number of runs; the value lists are read when the run is prepared.
struct RunInputs {
    const LayoutTable& layouts;
    const OptionSettings& options;
    const ValueLists& lists;
    /// The moment taken as RunStart and as "now" for date checks and the report date, instead
    /// of the clock (re-validating an archived file as of its due date).
    std::optional<LocalDateTime> asOf;
    /// A file with more dose and intake records than this ends the run as TooLarge.
    std::int64_t recordLimit = kMaxRegisteredRecords;
    /// The threads that check lines; with more than one, lines are checked ahead in chunks and
    /// their findings written in line order, so the outputs are the same whatever the number.
    int threads = 1;
    /// The bytes of lines handed to a checking thread at a time.
    std::size_t chunkBytes = kDefaultChunkBytes;
    /// Where the run lists its temporary output files while they exist; none when null.
    TemporaryFileList* temporaries = nullptr;
    /// Where the outputs go: beside the load file, into another folder, or nowhere.
    OutputPlace outputs = {};
};

/// The checking threads for each of `concurrentRuns` runs at once: the machine's cores shared
/// out among them, at least one each.
int ValidationThreads(int concurrentRuns = 1);

/// The smallest load file worth validating, in bytes.
inline constexpr std::int64_t kMinimumLoadFileSize = 323;

/// One validation of one load file. It resolves the load path as the kernel does and opens the
/// file once, locked against other runs (a second run of the same file is Refused and touches
/// nothing); deletes the old outputs, refuses small files, registers the dose and intake records,
/// checks every line, and writes the results file with its trailer and, when the run completed
/// and GDR is on, the summary report. Both outputs are written to temporary files in the folder
/// they go to (the load file's, or the one RunInputs::outputs names, which is opened once too)
/// and renamed into place only when the run ended (validated, cancelled or stopped by a limit)
/// and both are complete; any failure (unreadable or changed file, too large, a write error)
/// leaves neither output and no temporary file. A run whose outputs go nowhere writes and
/// deletes nothing. Synchronous; a run shares nothing mutable with other runs and touches no
/// file but its outputs and their temporaries. The run
/// tests `cancel` before every line; a limit that fires stops it the same way, and the outcome
/// says which of the two ended it.
class ValidationRun {
public:
    ValidationRun(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
                  const CancelRequest& cancel);

    RunOutcome execute(const std::filesystem::path& loadPath);

private:
    const RunInputs& inputs_;
    const Clock& clock_;
    RunObserver& observer_;
    const CancelRequest& cancel_;
};

}  // namespace talveron
