#include "engine/validation_run.h"

#include <cerrno>
#include <cstring>
#include <fstream>
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
#include "engine/results_file.h"
#include "engine/registration.h"
#include "engine/run_limits.h"
#include "engine/run_timer.h"
#include "report/summary_report.h"

namespace talveron {

namespace {

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
          environment_{inputs.layouts, inputs.options, inputs.lists, fields_,
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
    void unreadable(const std::string& why);

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
};

void RunState::unreadable(const std::string& why) {
    outcome_.status = RunStatus::Unreadable;
    outcome_.problem = "Cannot read " + QuotedPath(outcome_.paths.load) + ": " + why;
}

bool RunState::open(std::ifstream& file) {
    file.close();
    file.clear();
    file.open(outcome_.paths.load, std::ios::binary);
    if (!file) {
        unreadable(std::strerror(errno));
        return false;
    }
    return true;
}

void RunState::checkRunLimits() {
    const std::string_view reason = CheckRunLimits(inputs_.options, outcome_.counters, timer_.elapsedSeconds());
    if (reason.empty()) return;
    active_.store(false);
    outcome_.cancelReason = reason;
}

void RunState::registerLoadFile(std::ifstream& file) {
    observer_.phaseChanged(RunPhase::Registering);
    information_.showText("Register Load File...");
    DoseRegistration registration(inputs_.layouts, fields_, timer_.runStart(), doses_);
    LineReader reader(file);
    std::string_view line;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    while (active_.load(std::memory_order_relaxed) && reader.next(line)) {
        ++lineNumber;
        if (line.size() < 2) continue;
        timer_.update();
        registration.registerLine(line, lineNumber);
        consumed += static_cast<std::int64_t>(line.size()) + 5;
        progress_.registrationLine(consumed, fileLength_);
        if (lineNumber % 100 == 0) checkRunLimits();
    }
    if (reader.failed()) unreadable("the file could not be read to its end");
    doses_.buildIndex();
    information_.showText("");
    progress_.endRegistration();
}

void RunState::mainPass(std::ifstream& file) {
    observer_.phaseChanged(RunPhase::Validating);
    environment_.runStart = timer_.runStart();
    RecordDispatcher dispatcher(environment_, writer_);
    const bool reportFollows = inputs_.options.on(OptionKey::GDR);
    LineReader reader(file);
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
    if (reader.failed()) unreadable("the file could not be read to its end");

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
    if (paths.collides()) {
        outcome_.status = RunStatus::Refused;
        outcome_.problem = "Refusing " + QuotedPath(paths.load) +
                           ": its results file or report would be the load file itself";
        return;
    }
    outcome_.resultsStatus = RemoveOldOutput(paths.results);
    outcome_.reportStatus = RemoveOldOutput(paths.report);

    std::error_code error;
    const auto status = std::filesystem::status(paths.load, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        unreadable(error ? error.message()
                         : (std::filesystem::is_directory(status) ? "it is a folder" : "it is not a file"));
        return;
    }
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
    if (outcome_.status != RunStatus::Validated || !open(file)) return;
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
    {
        RunState state(inputs_, clock_, observer_, active_, outcome);
        state.run();
    }
    if (outcome.status == RunStatus::Validated && !active_.load()) {
        outcome.status = outcome.cancelReason.empty() ? RunStatus::Cancelled : RunStatus::StoppedByLimit;
    }
    observer_.phaseChanged(RunPhase::Finished);
    return outcome;
}

}  // namespace talveron
