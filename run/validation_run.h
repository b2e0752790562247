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
};

/// The checking threads for each of `concurrentRuns` runs at once: the machine's cores shared
/// out among them, at least one each.
int ValidationThreads(int concurrentRuns = 1);

/// The smallest load file worth validating, in bytes.
inline constexpr std::int64_t kMinimumLoadFileSize = 323;

/// One validation of one load file: deletes the old outputs, refuses small files, registers the
/// dose and intake records, checks every line, writes the results file with its trailer and,
/// when the run completed and GDR is on, the summary report. Synchronous; a run shares nothing
/// mutable with other runs. It touches no file but the two outputs, never writes through a
/// symbolic link, and ends with an outcome whatever the input: a file that changes between the
/// passes is Unreadable, a run that runs out of memory is TooLarge and leaves no outputs.
/// The run tests `cancel` before every line; a limit that fires stops it the same way, and the
/// outcome says which of the two ended it.
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
