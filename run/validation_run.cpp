#include "run/validation_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/dose_register.h"
#include "engine/known_fields.h"
#include "engine/line_reader.h"
#include "engine/occurrence_tally.h"
#include "engine/record_dispatcher.h"
#include "engine/registration.h"
#include "report/summary_report.h"
#include "run/finding_buffer.h"
#include "run/finding_writer.h"
#include "run/ordered_pipeline.h"
#include "run/output_file.h"
#include "run/progress_meter.h"
#include "run/results_file.h"
#include "run/run_limits.h"
#include "run/run_timer.h"

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

/// Lines of the registration pass with what each registers.
struct RegisteredChunk {
    std::vector<RegisteredLine> lines;
};

/// Lines of the main pass, with what the checks see that changes along the file.
struct MainPassChunk {
    LineChunk lines;
    std::size_t doseRecordsBefore = 0;  ///< IsDoseLine lines above the chunk
    LocalDateTime present;              ///< the moment the date checks compare with
};

/// The checked lines of a chunk: each line's tallies, the findings they reported, and the header
/// values when the chunk starts the file.
struct CheckedChunk {
    struct Line {
        DispatchResult dispatched;
        std::size_t findingsEnd = 0;  ///< the line's findings end here in `findings`
    };
    std::vector<Line> lines;
    FindingBuffer findings;
    std::optional<HeaderValues> header;
};

/// Everything one execution holds; lives for the duration of execute().
class RunState {
public:
    RunState(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
             const CancelRequest& cancel, RunOutcome& outcome)
        : inputs_(inputs),
          observer_(observer),
          cancel_(cancel),
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
    /// Checks the lines of a chunk into `checked`; touches nothing else, so runs on any thread.
    void checkChunk(const MainPassChunk& chunk, CheckedChunk& checked) const;
    void finishResults();
    void writeSummaryReport(const HeaderValues& header);
    void checkRunLimits();
    /// After a pass: a read error, a line over the limit, or (main pass) a changed file.
    void checkPassEnd(const LineReader& reader, std::int64_t lineNumber);
    /// Registers one line; false, with the run TooLarge, once the records exceed the limit.
    bool registerRecord(const RegisteredLine& line, std::int64_t lineNumber,
                        DoseRegistration& registration);
    void unreadable(const std::string& why);
    /// Neither cancelled nor stopped by a limit: the passes go on to the next line.
    bool going() const { return !cancel_.requested() && outcome_.cancelReason.empty(); }
    void tooLarge(const std::string& why);

    const RunInputs& inputs_;
    RunObserver& observer_;
    const CancelRequest& cancel_;
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
    } else if (registeredBytes_ && going() && reader.bytesRead() != *registeredBytes_) {
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
    outcome_.cancelReason = reason;
}

void RunState::registerLoadFile(std::ifstream& file) {
    observer_.phaseChanged(RunPhase::Registering);
    information_.showText("Register Load File...");
    DoseRegistration registration(inputs_.layouts, fields_, timer_.runStart(), doses_);
    LineReader reader(file, ReadChunkSize(fileLength_));
    std::int64_t linesRead = 0;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    const auto produce = [&](LineChunk& chunk) {
        if (!going() || !chunk.fill(reader, linesRead, inputs_.chunkBytes)) {
            return false;
        }
        linesRead += static_cast<std::int64_t>(chunk.size());
        return true;
    };
    const auto read = [&](const LineChunk& chunk, RegisteredChunk& registered) {
        registered.lines.clear();
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            registered.lines.push_back(registration.read(chunk.line(i)));
        }
    };
    const auto add = [&](const LineChunk& chunk, RegisteredChunk& registered) {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (!going()) return false;
            ++lineNumber;
            const std::string_view line = chunk.line(i);
            if (line.size() < 2) continue;
            timer_.update();
            if (!registerRecord(registered.lines[i], lineNumber, registration)) return false;
            consumed += static_cast<std::int64_t>(line.size()) + 5;
            progress_.registrationLine(consumed, fileLength_);
            if (lineNumber % 100 == 0) checkRunLimits();
        }
        return true;
    };
    OrderedPipeline<LineChunk, RegisteredChunk>(inputs_.threads).run(produce, read, add);
    // A pass that stopped early never asked the reader for the rest of the file.
    if (outcome_.status == RunStatus::Validated && going()) checkPassEnd(reader, linesRead);
    if (outcome_.status == RunStatus::Validated) {
        if (going()) registeredBytes_ = reader.bytesRead();
        doses_.buildIndex();
    }
    information_.showText("");
    progress_.endRegistration();
}

static_assert(kMaxRegisteredRecords < UINT32_MAX, "the register numbers its records with 32 bits");

bool RunState::registerRecord(const RegisteredLine& line, std::int64_t lineNumber,
                              DoseRegistration& registration) {
    registration.add(line, lineNumber);
    const auto registered = static_cast<std::int64_t>(doses_.doses().size()) + doses_.intakeCount();
    if (registered <= inputs_.recordLimit) return true;
    tooLarge("it holds more than " + FormatGrouped(inputs_.recordLimit) +
             " dose and intake records");
    return false;
}

void RunState::checkChunk(const MainPassChunk& chunk, CheckedChunk& checked) const {
    const CheckEnvironment environment{
        environment_.layouts, environment_.options,  environment_.lists, environment_.fields,
        environment_.doses,   environment_.runStart, chunk.present};
    checked.lines.clear();
    checked.findings.clear();
    checked.header.reset();
    RecordDispatcher dispatcher(environment, checked.findings, chunk.doseRecordsBefore);
    const LineChunk& lines = chunk.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines.line(i);
        const auto lineNumber = lines.firstLineNumber() + static_cast<std::int64_t>(i);
        checked.lines.push_back(
            {dispatcher.dispatch(line, lineNumber, RecordLength(line)), checked.findings.size()});
    }
    if (lines.firstLineNumber() == 1) checked.header = dispatcher.header();
}

void RunState::mainPass(std::ifstream& file) {
    environment_.runStart = timer_.runStart();
    const bool reportFollows = inputs_.options.on(OptionKey::GDR);
    LineReader reader(file, ReadChunkSize(fileLength_));
    HeaderValues header;
    std::int64_t linesRead = 0;
    std::size_t doseRecordsRead = 0;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    const auto produce = [&](MainPassChunk& chunk) {
        if (!going() || !chunk.lines.fill(reader, linesRead, inputs_.chunkBytes)) {
            return false;
        }
        linesRead += static_cast<std::int64_t>(chunk.lines.size());
        chunk.doseRecordsBefore = doseRecordsRead;
        for (std::size_t i = 0; i < chunk.lines.size(); ++i) {
            if (IsDoseLine(chunk.lines.line(i))) ++doseRecordsRead;
        }
        chunk.present = timer_.present();
        return true;
    };
    const auto check = [this](const MainPassChunk& chunk, CheckedChunk& checked) {
        checkChunk(chunk, checked);
    };
    // Everything the operator sees and the outputs get happens here, line by line in file order.
    const auto write = [&](const MainPassChunk& chunk, CheckedChunk& checked) {
        if (checked.header) header = *checked.header;
        std::size_t findingsStart = 0;
        for (std::size_t i = 0; i < chunk.lines.size(); ++i) {
            if (!going()) return false;
            ++lineNumber;
            const std::string_view line = chunk.lines.line(i);
            observer_.lineStarted(lineNumber, line);
            timer_.update();
            const CheckedChunk::Line& result = checked.lines[i];
            checked.findings.replay(findingsStart, result.findingsEnd, writer_);
            findingsStart = result.findingsEnd;
            const DispatchResult& dispatched = result.dispatched;
            outcome_.counters.countRecord(dispatched.recordType, dispatched.errors,
                                          dispatched.warnings);
            observer_.countersChanged(outcome_.counters);
            if (lineNumber % 10 == 0 || dispatched.errors > 0 || dispatched.warnings > 0) {
                checkRunLimits();
            }
            consumed += RecordLength(line) + 2;
            progress_.mainLine(consumed, fileLength_, reportFollows);
        }
        return true;
    };
    OrderedPipeline<MainPassChunk, CheckedChunk>(inputs_.threads).run(produce, check, write);
    if (going()) checkPassEnd(reader, linesRead);

    progress_.endMainPass();
    timer_.update();
    file.close();
    finishResults();
    if (going() && outcome_.status == RunStatus::Validated && reportFollows) {
        writeSummaryReport(header);
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

int ValidationThreads(int concurrentRuns) {
    const auto cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, cores / std::max(1, concurrentRuns));
}

ValidationRun::ValidationRun(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
                             const CancelRequest& cancel)
    : inputs_(inputs), clock_(clock), observer_(observer), cancel_(cancel) {}

RunOutcome ValidationRun::execute(const std::filesystem::path& loadPath) {
    RunOutcome outcome;
    outcome.paths = DeriveRunPaths(loadPath);
    try {
        RunState state(inputs_, clock_, observer_, cancel_, outcome);
        state.run();
    } catch (const std::bad_alloc&) {
        outcome.status = RunStatus::TooLarge;
        outcome.problem = "Cannot validate " + QuotedPath(outcome.paths.load) +
                          ": there is not enough memory for it";
    }
    if (outcome.status == RunStatus::TooLarge) DiscardOutputs(outcome);
    if (outcome.status == RunStatus::Validated) {
        if (!outcome.cancelReason.empty()) {
            outcome.status = RunStatus::StoppedByLimit;
        } else if (cancel_.requested()) {
            outcome.status = RunStatus::Cancelled;
        }
    }
    observer_.phaseChanged(RunPhase::Finished);
    return outcome;
}

}  // namespace talveron
