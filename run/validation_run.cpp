#include "run/validation_run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
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
#include "run/load_file.h"
#include "run/ordered_pipeline.h"
#include "run/output_file.h"
#include "run/progress_meter.h"
#include "run/results_file.h"
#include "run/run_limits.h"
#include "run/run_timer.h"

namespace talveron {

namespace {

/// Keeps the first failure of an output: a later step fails for the same reason or not at all.
void KeepFirstFailure(Status& kept, Status next) {
    if (kept.ok()) kept = std::move(next);
}

/// The bytes a chunk is read in: the whole of a small file, whose end one read then finds, at
/// most the run's chunk size of a large one.
std::size_t ReadSize(std::int64_t fileLength, std::size_t chunkBytes) {
    return std::min(static_cast<std::size_t>(std::max<std::int64_t>(fileLength, 0)) + 1,
                    chunkBytes);
}

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
    /// `outputs` is where the outputs go, null when the run writes none.
    RunState(const RunInputs& inputs, const Clock& clock, RunObserver& observer,
             const CancelRequest& cancel, const RunFolder& folder, const RunFolder* outputs,
             RunOutcome& outcome)
        : inputs_(inputs),
          observer_(observer),
          cancel_(cancel),
          folder_(folder),
          outputs_(outputs),
          outcome_(outcome),
          timer_(clock, observer, inputs.asOf),
          progress_(observer),
          information_(observer),
          results_(outputs, outcome.paths.results.filename(), "err", inputs.temporaries),
          report_(outputs, outcome.paths.report.filename(), "dst", inputs.temporaries),
          writer_(results_, observer, information_),
          fields_(KnownFields::Find(inputs.layouts)),
          environment_{inputs.layouts, inputs.options,  inputs.lists,    fields_,
                       doses_,         LocalDateTime{}, timer_.present()} {}

    void run();

private:
    void runSteps();
    /// Opens and locks the load file; false, with the outcome set, when the run must not go on
    /// to delete anything.
    bool openLoadFile();
    void registerLoadFile(std::istream& file);
    void mainPass(std::istream& file);
    /// Checks the lines of a chunk into `checked`; touches nothing else, so runs on any thread.
    void checkChunk(const MainPassChunk& chunk, CheckedChunk& checked) const;
    void finishResults();
    void writeSummaryReport(const HeaderValues& header);
    /// Renames both outputs into place when the run ended as it should and both are complete;
    /// otherwise removes what was written.
    void settleOutputs();
    /// Refreshes the elapsed time and tests the limits: a clock read costs as much as checking a
    /// short field, so both happen only on the lines where the limits are tested.
    void checkRunLimits();
    /// After a pass: a read error, a line over the limit, or (main pass) a changed file.
    void checkPassEnd(const LineReader& reader, std::int64_t lineNumber);
    void unreadable(const std::string& why);
    void refuse(const std::string& why);
    /// Neither cancelled nor stopped by a limit: the passes go on to the next line.
    bool going() const { return !cancel_.requested() && outcome_.cancelReason.empty(); }
    void tooLarge(const std::string& why);

    const RunInputs& inputs_;
    RunObserver& observer_;
    const CancelRequest& cancel_;
    const RunFolder& folder_;
    const RunFolder* outputs_;
    RunOutcome& outcome_;
    RunTimer timer_;
    ProgressMeter progress_;
    InformationLine information_;
    OccurrenceTally tally_;
    LoadFile load_;
    LoadFile::Kind loadKind_ = LoadFile::Kind::Missing;
    OutputFile results_;
    OutputFile report_;
    FindingWriter writer_;
    DoseRegister doses_;
    KnownFields fields_;
    CheckEnvironment environment_;
    std::int64_t fileLength_ = 0;
    /// The bytes the registration pass read to the end of the file; the main pass must read as
    /// many, or the file changed in between. Unset when registration stopped early.
    std::optional<std::uint64_t> registeredBytes_;
    std::optional<SummaryFigures> summary_;  ///< kept for the outcome once the report is in place
};

void RunState::unreadable(const std::string& why) {
    outcome_.status = RunStatus::Unreadable;
    outcome_.problem = "Cannot read " + QuotedPath(outcome_.paths.load) + ": " + why;
}

void RunState::refuse(const std::string& why) {
    outcome_.status = RunStatus::Refused;
    outcome_.problem = "Refusing " + QuotedPath(outcome_.paths.load) + ": " + why;
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

bool RunState::openLoadFile() {
    loadKind_ = load_.open(folder_);
    if (loadKind_ == LoadFile::Kind::Folder) {
        refuse("it is a folder, not a load file");
        return false;
    }
    if (loadKind_ != LoadFile::Kind::RegularFile) return true;
    if (!load_.lock()) {
        outcome_.status = RunStatus::Refused;
        outcome_.problem = "another run is validating " + QuotedPath(outcome_.paths.load) +
                           "; try again when it has finished";
        return false;
    }
    for (const auto& output : {outcome_.paths.results, outcome_.paths.report}) {
        struct stat info {};
        // Hard links of one file: removing the output would remove the load file.
        if (outputs_ != nullptr &&
            ::fstatat(outputs_->descriptor(), output.filename().c_str(), &info,
                      AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && FileIdentity{info.st_dev, info.st_ino} == load_.identity()) {
            refuse("its results file or report would be the load file itself");
            return false;
        }
    }
    return true;
}

void RunState::checkRunLimits() {
    const std::string_view reason =
        CheckRunLimits(inputs_.options, outcome_.counters, timer_.update());
    if (reason.empty()) return;
    outcome_.cancelReason = reason;
}

void RunState::registerLoadFile(std::istream& file) {
    observer_.phaseChanged(RunPhase::Registering);
    information_.showText("Register Load File...");
    DoseRegistration registration(inputs_.layouts, fields_, timer_.runStart(), doses_);
    LineReader reader(file);
    std::int64_t linesRead = 0;
    std::int64_t lineNumber = 0;
    std::int64_t consumed = 0;
    const auto produce = [&](LineChunk& chunk) {
        if (!going() || !chunk.fill(reader, linesRead, ReadSize(fileLength_, inputs_.chunkBytes))) {
            return false;
        }
        linesRead += static_cast<std::int64_t>(chunk.size());
        return true;
    };
    const auto read = [&](const LineChunk& chunk, RegisteredLines& registered) {
        registered.clear();
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            registration.read(chunk.line(i), chunk.firstLineNumber() + static_cast<std::int64_t>(i),
                              registered);
        }
    };
    // The records of a chunk are added at once; the lines are walked for what the operator sees
    // and for the limits.
    const auto add = [&](const LineChunk& chunk, RegisteredLines& registered) {
        const auto registeredBefore =
            static_cast<std::int64_t>(doses_.doses().size()) + doses_.intakeCount();
        std::size_t records = 0;
        bool more = true;
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (!going()) {
                more = false;
                break;
            }
            ++lineNumber;
            const std::string_view line = chunk.line(i);
            if (line.size() < 2) continue;
            if (records < registered.records.size() &&
                registered.records[records].lineNumber == lineNumber) {
                ++records;
                if (registeredBefore + static_cast<std::int64_t>(records) > inputs_.recordLimit) {
                    tooLarge("it holds more than " + FormatGrouped(inputs_.recordLimit) +
                             " dose and intake records");
                    more = false;
                    break;
                }
            }
            consumed += static_cast<std::int64_t>(line.size()) + 5;
            progress_.registrationLine(consumed, fileLength_);
            if (lineNumber % 100 == 0) checkRunLimits();
        }
        registration.add(registered, records);
        return more;
    };
    OrderedPipeline<LineChunk, RegisteredLines>(inputs_.threads).run(produce, read, add);
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

void RunState::checkChunk(const MainPassChunk& chunk, CheckedChunk& checked) const {
    const CheckEnvironment environment{
        environment_.layouts, environment_.options,  environment_.lists, environment_.fields,
        environment_.doses,   environment_.runStart, chunk.present};
    checked.lines.clear();
    checked.findings.clear(inputs_.options);
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

void RunState::mainPass(std::istream& file) {
    environment_.runStart = timer_.runStart();
    const bool reportFollows = inputs_.options.on(OptionKey::GDR) && outputs_ != nullptr;
    LineReader reader(file);
    HeaderValues header;
    std::int64_t linesRead = 0;
    std::size_t doseRecordsRead = 0;
    std::int64_t lineNumber = 0;
    std::size_t doseRecordsWritten = 0;
    std::int64_t consumed = 0;
    const auto produce = [&](MainPassChunk& chunk) {
        if (!going() ||
            !chunk.lines.fill(reader, linesRead, ReadSize(fileLength_, inputs_.chunkBytes))) {
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
        if (checked.header) outcome_.header = header = *checked.header;
        std::size_t findingsStart = 0;
        for (std::size_t i = 0; i < chunk.lines.size(); ++i) {
            if (!going()) return false;
            ++lineNumber;
            const std::string_view line = chunk.lines.line(i);
            observer_.lineStarted(lineNumber, line);
            const CheckedChunk::Line& result = checked.lines[i];
            writer_.write(checked.findings, findingsStart, result.findingsEnd);
            findingsStart = result.findingsEnd;
            const DispatchResult& dispatched = result.dispatched;
            if (dispatched.doseRecord) doses_.addAmounts(doseRecordsWritten++, dispatched.amounts);
            outcome_.counters.countRecord(dispatched.recordType, dispatched.errors,
                                          dispatched.warnings);
            observer_.countersChanged(outcome_.counters);
            if (lineNumber % 10 == 0 || dispatched.errors > 0 || dispatched.warnings > 0) {
                checkRunLimits();
            }
            consumed += RecordLength(line) + 2;
            progress_.mainLine(consumed, fileLength_, reportFollows);
        }
        // Only a chunk written whole is tallied; the tally of a run that stops early is never
        // reported.
        tally_.merge(checked.findings.tally());
        return true;
    };
    OrderedPipeline<MainPassChunk, CheckedChunk>(inputs_.threads).run(produce, check, write);
    if (going()) checkPassEnd(reader, linesRead);

    progress_.endMainPass();
    timer_.update();
    finishResults();
    // A results file that could not be written takes the report with it: both or neither.
    if (going() && outcome_.status == RunStatus::Validated && reportFollows &&
        outcome_.resultsStatus.ok()) {
        writeSummaryReport(header);
    }
    timer_.update();
}

void RunState::finishResults() {
    if (!results_.opened()) return;
    outcome_.findingCount = writer_.findingCount();
    std::string trailer;
    AppendResultsTrailer(trailer, writer_.findingCount());
    results_.append(trailer);
    KeepFirstFailure(outcome_.resultsStatus, results_.finish());
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
    summary_ = ComputeSummaryFigures(summary);
    std::ostringstream text;
    WriteSummaryReport(text, *summary_);
    report_.append(text.view());
    KeepFirstFailure(outcome_.reportStatus, report_.finish());
    information_.showText("");
    // The report's own progress can stop short of 100 (a person's later records are not
    // counted again); a finished run should not look unfinished.
    progress_.endMainPass();
}

void RunState::settleOutputs() {
    const bool ended = outcome_.status == RunStatus::Validated;
    if (ended && outcome_.resultsStatus.ok() && outcome_.reportStatus.ok()) {
        KeepFirstFailure(outcome_.resultsStatus, results_.commit());
        if (outcome_.resultsStatus.ok()) KeepFirstFailure(outcome_.reportStatus, report_.commit());
        if (outcome_.reportStatus.ok()) {
            outcome_.resultsWritten = results_.opened();
            outcome_.reportWritten = report_.opened();
            if (outcome_.reportWritten) outcome_.summary = std::move(summary_);
            return;
        }
        if (results_.opened()) (void)RemoveOldOutput(*outputs_, outcome_.paths.results.filename());
    }
    results_.discard();
    report_.discard();
}

void RunState::run() {
    runSteps();
    settleOutputs();
    outcome_.elapsed = timer_.text();
}

void RunState::runSteps() {
    const RunPaths& paths = outcome_.paths;
    if (paths.collides()) {
        refuse("its results file or report would be the load file itself");
        return;
    }
    if (!openLoadFile()) return;
    if (outputs_ != nullptr) {
        RemoveStaleTemporaries(*outputs_);
        outcome_.resultsStatus = RemoveOldOutput(*outputs_, paths.results.filename());
        outcome_.reportStatus = RemoveOldOutput(*outputs_, paths.report.filename());
    }

    switch (loadKind_) {
        case LoadFile::Kind::Missing:
            unreadable(std::strerror(load_.error()));
            return;
        case LoadFile::Kind::Other:
            // A FIFO or a device would block the run or never end.
            unreadable("it is not a file");
            return;
        case LoadFile::Kind::Folder:
        case LoadFile::Kind::RegularFile:
            break;
    }
    fileLength_ = load_.size();
    if (fileLength_ < kMinimumLoadFileSize) {
        outcome_.status = RunStatus::TooSmall;
        outcome_.problem = QuotedPath(paths.load) + " is too small to be a load file (" +
                           std::to_string(fileLength_) + " bytes)";
        return;
    }

    timer_.start();
    progress_.startRun();
    timer_.update();
    registerLoadFile(load_.rewind());
    if (outcome_.status != RunStatus::Validated) return;
    // Announced before the file is read again, so that the time between the passes is visible.
    observer_.phaseChanged(RunPhase::Validating);
    timer_.update();
    mainPass(load_.rewind());
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
    RunFolder folder;
    RunFolder outputFolder;
    const OutputPlace& place = inputs_.outputs;
    Status opened = RunFolder::Open(loadPath, folder);
    if (!opened.ok()) {
        outcome.status =
            opened.code() == Status::Code::Refused ? RunStatus::Refused : RunStatus::Unreadable;
        outcome.problem = opened.message();
    } else if (place.kind == OutputPlace::Kind::Folder &&
               !(opened = RunFolder::OpenOutputs(place.folder, folder.loadName(), outputFolder))
                    .ok()) {
        // Nothing is read or written when the outputs have nowhere to go.
        outcome.status = RunStatus::Refused;
        outcome.problem = opened.message();
    } else {
        outcome.paths = DeriveRunPaths(folder.path() / folder.loadName());
        const RunFolder* outputs = &folder;
        if (place.kind == OutputPlace::Kind::Folder) {
            outputs = &outputFolder;
            outcome.paths = WithOutputsIn(outcome.paths, outputFolder.path());
        } else if (place.kind == OutputPlace::Kind::Nowhere) {
            outputs = nullptr;
            outcome.paths.results.clear();
            outcome.paths.report.clear();
        }
        try {
            RunState state(inputs_, clock_, observer_, cancel_, folder, outputs, outcome);
            state.run();
        } catch (const std::bad_alloc&) {
            outcome.status = RunStatus::TooLarge;
            outcome.problem = "Cannot validate " + QuotedPath(outcome.paths.load) +
                              ": there is not enough memory for it";
        } catch (const std::exception& error) {
            outcome.status = RunStatus::Unreadable;
            outcome.problem =
                "Cannot validate " + QuotedPath(outcome.paths.load) + ": " + error.what();
        }
    }
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
