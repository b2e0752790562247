#include "engine/validation_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <system_error>

#include "engine/dose_register.h"
#include "engine/finding_writer.h"
#include "engine/known_fields.h"
#include "engine/line_reader.h"
#include "engine/occurrence_tally.h"
#include "engine/output_file.h"
#include "engine/progress_meter.h"
#include "engine/record_dispatcher.h"
#include "engine/registration.h"
#include "engine/results_file.h"
#include "engine/run_limits.h"
#include "engine/run_timer.h"
#include "report/summary_report.h"

namespace talveron {

namespace {

/// The output path names the load file itself (the load path is a symbolic link to it, or both
/// are hard links of one file): the run would delete what it reads. A symbolic link at the
/// output path is harmless, as only the link is removed.
bool IsTheLoadFile(const std::filesystem::path& output, const std::filesystem::path& load) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(output, error);
    return !error && std::filesystem::is_regular_file(status) &&
           std::filesystem::equivalent(output, load, error) && !error;
}

/// Why the load path is not a file the run can read, or empty. Asked before each pass: the path
/// may name something else by the second one.
std::string NotAFileReason(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) return error.message();
    if (std::filesystem::is_directory(status)) return "it is a folder";
    // A FIFO or a device would block the run or never end.
    if (!std::filesystem::is_regular_file(status)) return "it is not a file";
    return {};
}

/// The outputs of these paths must not be deleted or written: one of them is the load file.
bool OutputsWouldBeTheLoadFile(const RunPaths& paths) {
    return paths.collides() || IsTheLoadFile(paths.results, paths.load) ||
           IsTheLoadFile(paths.report, paths.load);
}

/// The bytes a pass reads at a time: the whole of a small file, at most 1 MiB of a large one.
std::size_t ReadChunkSize(std::int64_t fileLength) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(fileLength + 1, 4096, 1 << 20));
}

/// Removes what a run that exceeded a limit wrote: it is incomplete and would read as a finished
/// run's outputs.
void DiscardOutputs(RunOutcome& outcome) {
    if (OutputsWouldBeTheLoadFile(outcome.paths)) return;
    (void)RemoveOldOutput(outcome.paths.results);
    (void)RemoveOldOutput(outcome.paths.report);
    outcome.resultsWritten = false;
    outcome.reportWritten = false;
}

/// Everything one execution holds; lives for the duration of execute().
class RunState {
public:
    RunState(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
             std::atomic<bool>& active, RunOutcome& outcome)
        : inputs_(inputs),
          observer_(observer),
          active_(active),
          outcome_(outcome),
          timer_(clock, observer, inputs.asOf),
          progress_(observer),
          information_(observer),
          results_(outcome.paths.results),
          writer_(inputs.options, results_, tally_, observer, timer_, information_),
          fields_(KnownFields::Find(inputs.layouts)),
          environment_{inputs.layouts, inputs.options,  inputs.lists,    fields_,
                       doses_,         LocalDateTime{}, timer_.present()} {}

    void run();

private:
    void runSteps();
    bool open(std::ifstream& file);
    void registerLoadFile(std::ifstream& file);
    void mainPass(std::ifstream& file);
    void finishResults();
    void writeSummaryReport(const HeaderValues& header);
    void checkRunLimits();
    /// After a pass: a read error, a line over the limit, or (main pass) a changed file.
    void checkPassEnd(const LineReader& reader, std::int64_t lineNumber);
    /// Registers one line; false, with the run TooLarge, once the records exceed the limit.
    bool registerRecord(std::string_view line, std::int64_t lineNumber,
                        DoseRegistration& registration);
    void unreadable(const std::string& why);
    void tooLarge(const std::string& why);

    const RunInputs& inputs_;
    RunObserver& observer_;
    std::atomic<bool>& active_;
    RunOutcome& outcome_;
    RunTimer timer_;
    ProgressMeter progress_;
    InformationLine information_;
    OccurrenceTally tally_;
    OutputFile results_;
    FindingWriter writer_;
    DoseRegister doses_;
    KnownFields fields_;
    CheckEnvironment environment_;
    std::int64_t fileLength_ = 0;
    /// The bytes the registration pass read to the end of the file; the main pass must read as
    /// many, or the file changed in between. Unset when registration stopped early.
    std::optional<std::uint64_t> registeredBytes_;
};

void RunState::unreadable(const std::string& why) {
    outcome_.status = RunStatus::Unreadable;
    outcome_.problem = "Cannot read " + QuotedPath(outcome_.paths.load) + ": " + why;
}

void RunState::tooLarge(const std::string& why) {
    outcome_.status = RunStatus::TooLarge;
    outcome_.problem = "Cannot validate " + QuotedPath(outcome_.paths.load) + ": " + why;
}

void RunState::checkPassEnd(const LineReader& reader, std::int64_t lineNumber) {
    if (reader.failed()) {
        unreadable("the file could not be read to its end");
    } else if (reader.tooLong()) {
        tooLarge("line " + std::to_string(lineNumber + 1) + " is longer than " +
                 std::to_string(kMaxLineLength >> 20) + " MiB");
    } else if (registeredBytes_ && active_.load() && reader.bytesRead() != *registeredBytes_) {
        unreadable("the file changed while it was being validated");
    }
}

bool RunState::open(std::ifstream& file) {
    file.close();
    file.clear();
    if (const std::string why = NotAFileReason(outcome_.paths.load); !why.empty()) {
        unreadable(why);
        return false;
    }
    file.open(outcome_.paths.load, std::ios::binary);
    if (!file) {
        unreadable(std::strerror(errno));
        return false;
    }
    return true;
}

void RunState::checkRunLimits() {
    const std::string_view reason =
        CheckRunLimits(inputs_.options, outcome_.counters, timer_.elapsedSeconds());
    if (reason.empty()) return;
    active_.store(false);
    outcome_.cancelReason = reason;
}

void RunState::registerLoadFile(std::ifstream& file) {
    observer_.phaseChanged(RunPhase::Registering);
    information_.showText("Register Load File...");
    DoseRegistration registration(inputs_.layouts, fields_, timer_.runStart(), doses_);
    LineReader reader(file, ReadChunkSize(fileLength_));
    std::string_view line;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    while (active_.load(std::memory_order_relaxed) && reader.next(line)) {
        ++lineNumber;
        if (line.size() < 2) continue;
        timer_.update();
        if (!registerRecord(line, lineNumber, registration)) break;
        consumed += static_cast<std::int64_t>(line.size()) + 5;
        progress_.registrationLine(consumed, fileLength_);
        if (lineNumber % 100 == 0) checkRunLimits();
    }
    checkPassEnd(reader, lineNumber);
    if (outcome_.status == RunStatus::Validated) {
        if (active_.load()) registeredBytes_ = reader.bytesRead();
        doses_.buildIndex();
    }
    information_.showText("");
    progress_.endRegistration();
}

static_assert(kMaxRegisteredRecords < UINT32_MAX, "the register numbers its records with 32 bits");

bool RunState::registerRecord(std::string_view line, std::int64_t lineNumber,
                              DoseRegistration& registration) {
    registration.registerLine(line, lineNumber);
    const auto registered = static_cast<std::int64_t>(doses_.doses().size()) + doses_.intakeCount();
    if (registered <= inputs_.recordLimit) return true;
    tooLarge("it holds more than " + FormatGrouped(inputs_.recordLimit) +
             " dose and intake records");
    return false;
}

void RunState::mainPass(std::ifstream& file) {
    environment_.runStart = timer_.runStart();
    RecordDispatcher dispatcher(environment_, writer_);
    const bool reportFollows = inputs_.options.on(OptionKey::GDR);
    LineReader reader(file, ReadChunkSize(fileLength_));
    std::string_view line;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    while (active_.load(std::memory_order_relaxed) && reader.next(line)) {
        ++lineNumber;
        const auto length = static_cast<std::int64_t>(line.size()) + 2;
        observer_.lineStarted(lineNumber, line);
        timer_.update();
        const DispatchResult result = dispatcher.dispatch(line, lineNumber, length);
        outcome_.counters.countRecord(result.recordType, result.errors, result.warnings);
        observer_.countersChanged(outcome_.counters);
        if (lineNumber % 10 == 0 || result.errors > 0 || result.warnings > 0) checkRunLimits();
        consumed += length + 2;
        progress_.mainLine(consumed, fileLength_, reportFollows);
    }
    checkPassEnd(reader, lineNumber);

    progress_.endMainPass();
    timer_.update();
    file.close();
    finishResults();
    if (active_.load() && outcome_.status == RunStatus::Validated && reportFollows) {
        writeSummaryReport(dispatcher.header());
    }
    timer_.update();
}

void RunState::finishResults() {
    outcome_.findingCount = writer_.findingCount();
    if (!results_.opened()) return;
    std::string trailer;
    AppendResultsTrailer(trailer, writer_.findingCount());
    results_.append(trailer);
    outcome_.resultsStatus = results_.close();
    outcome_.resultsWritten = outcome_.resultsStatus.ok();
}

void RunState::writeSummaryReport(const HeaderValues& header) {
    observer_.phaseChanged(RunPhase::Summarising);
    information_.showText("Generating Summary...");
    SummaryInputs summary{doses_,
                          header,
                          outcome_.counters.totalErrors(),
                          outcome_.counters.totalWarnings(),
                          tally_,
                          inputs_.options,
                          outcome_.paths.load.string(),
                          timer_.present(),
                          [this](int percent) {
                              timer_.update();
                              progress_.summary(percent);
                          }};
    std::ostringstream text;
    WriteSummaryReport(text, summary);
    OutputFile report(outcome_.paths.report);
    report.append(text.view());
    outcome_.reportStatus = report.close();
    outcome_.reportWritten = outcome_.reportStatus.ok();
    information_.showText("");
    // The report's own progress can stop short of 100 (a person's later records are not
    // counted again); a finished run should not look unfinished.
    progress_.endMainPass();
}

void RunState::run() {
    runSteps();
    outcome_.elapsed = timer_.text();
}

void RunState::runSteps() {
    const RunPaths& paths = outcome_.paths;
    if (OutputsWouldBeTheLoadFile(paths)) {
        outcome_.status = RunStatus::Refused;
        outcome_.problem = "Refusing " + QuotedPath(paths.load) +
                           ": its results file or report would be the load file itself";
        return;
    }
    outcome_.resultsStatus = RemoveOldOutput(paths.results);
    outcome_.reportStatus = RemoveOldOutput(paths.report);

    if (const std::string why = NotAFileReason(paths.load); !why.empty()) {
        unreadable(why);
        return;
    }
    std::error_code error;
    fileLength_ = static_cast<std::int64_t>(std::filesystem::file_size(paths.load, error));
    if (error) {
        unreadable(error.message());
        return;
    }
    if (fileLength_ < kMinimumLoadFileSize) {
        outcome_.status = RunStatus::TooSmall;
        outcome_.problem = QuotedPath(paths.load) + " is too small to be a load file (" +
                           std::to_string(fileLength_) + " bytes)";
        return;
    }

    std::ifstream file;
    if (!open(file)) return;
    timer_.start();
    progress_.startRun();
    timer_.update();
    registerLoadFile(file);
    if (outcome_.status != RunStatus::Validated) return;
    // Announced before the file is opened again, so that the time between the passes is visible.
    observer_.phaseChanged(RunPhase::Validating);
    if (!open(file)) return;
    timer_.update();
    mainPass(file);
}

}  // namespace

ValidationRun::ValidationRun(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
                             std::atomic<bool>& active)
    : inputs_(inputs), clock_(clock), observer_(observer), active_(active) {}

RunOutcome ValidationRun::execute(const std::filesystem::path& loadPath) {
    RunOutcome outcome;
    outcome.paths = DeriveRunPaths(loadPath);
    try {
        RunState state(inputs_, clock_, observer_, active_, outcome);
        state.run();
    } catch (const std::bad_alloc&) {
        outcome.status = RunStatus::TooLarge;
        outcome.problem = "Cannot validate " + QuotedPath(outcome.paths.load) +
                          ": there is not enough memory for it";
    }
    if (outcome.status == RunStatus::TooLarge) DiscardOutputs(outcome);
    if (outcome.status == RunStatus::Validated && !active_.load()) {
        outcome.status =
            outcome.cancelReason.empty() ? RunStatus::Cancelled : RunStatus::StoppedByLimit;
    }
    observer_.phaseChanged(RunPhase::Finished);
    return outcome;
}

}  // namespace talveron
