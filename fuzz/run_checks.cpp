#include "fuzz/run_checks.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "config/default_configuration.h"
#include "config/ini_document.h"
#include "config/number.h"
#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/value_lists.h"
#include "fuzz/field_scan_checks.h"
#include "run/validation_run.h"

namespace talveron {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLoadName = "load.dat";
constexpr std::string_view kResultsName = "load.err";
constexpr std::string_view kReportName = "load.dst";
constexpr std::string_view kNeighbourName = "load.dat.keep";
constexpr std::string_view kNeighbourBytes = "not to be touched\r\n";

class FixedClock final : public Clock {
public:
    LocalDateTime now() const override { return {2025, 3, 1, 9, 30, 0}; }
    std::chrono::steady_clock::time_point steadyNow() const override { return {}; }
};

/// Counts what the run reports and checks that lines arrive in order.
class CountingObserver final : public RunObserver {
public:
    void lineStarted(std::int64_t lineNumber, std::string_view) override {
        if (lineNumber != ++lines) outOfOrder = true;
    }
    void findingReported(const Finding&, const FindingPlace&) override { ++findings; }

    std::int64_t lines = 0;
    std::int64_t findings = 0;
    bool outOfOrder = false;
};

/// The lines of a load file by the framing rule: CR LF, LF and CR each end a line; a last
/// terminator starts no further line.
std::int64_t LineCount(std::string_view bytes) {
    std::int64_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        ++lines;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    const bool unterminated = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    return lines + (unterminated ? 1 : 0);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

struct Configuration {
    LayoutTable layouts;
    OptionSettings options;
    ValueLists lists;
};

/// What one run left behind.
struct RunRecord {
    RunOutcome outcome;
    CountingObserver observer;
    std::string results;
    std::string report;
};

RunRecord Validate(const Configuration& configuration, const fs::path& directory, int threads,
                   std::size_t chunkBytes) {
    const FixedClock clock;
    RunRecord record;
    const CancelRequest cancel;
    RunInputs inputs{configuration.layouts, configuration.options, configuration.lists,
                     std::nullopt};
    inputs.threads = threads;
    inputs.chunkBytes = chunkBytes;
    ValidationRun run(inputs, clock, record.observer, cancel);
    record.outcome = run.execute(directory / kLoadName);
    record.results = ReadBytes(directory / kResultsName);
    record.report = ReadBytes(directory / kReportName);
    return record;
}

std::string CheckStatus(const RunRecord& run, std::string_view load) {
    const RunStatus status = run.outcome.status;
    const bool small = static_cast<std::int64_t>(load.size()) < kMinimumLoadFileSize;
    if (small != (status == RunStatus::TooSmall)) return "the status does not fit the file's size";
    if (small) return {};
    if (status != RunStatus::Validated && status != RunStatus::StoppedByLimit) {
        return "a run ended with the problem: " + run.outcome.problem;
    }
    const std::int64_t lines = LineCount(load);
    if (run.observer.outOfOrder) return "the lines were checked out of order";
    if (status == RunStatus::Validated && run.observer.lines != lines) {
        return "checked " + std::to_string(run.observer.lines) + " of " + std::to_string(lines) +
               " lines";
    }
    if (run.outcome.counters.values[RunCounters::kTotalRecords] != run.observer.lines) {
        return "the record counter differs from the lines checked";
    }
    const RunCounters& counters = run.outcome.counters;
    if (counters.totalErrors() + counters.totalWarnings() != run.observer.findings) {
        return "counted " + std::to_string(counters.totalErrors() + counters.totalWarnings()) +
               " findings, reported " + std::to_string(run.observer.findings);
    }
    return {};
}

std::string CheckResultsFile(const RunRecord& run, std::int64_t lines) {
    const RunOutcome& outcome = run.outcome;
    if (!outcome.resultsStatus.ok()) {
        return "the results file failed: " + outcome.resultsStatus.message();
    }
    if (outcome.resultsWritten != (outcome.findingCount > 0)) {
        return "results written without findings, or the reverse";
    }
    if (outcome.resultsWritten == run.results.empty()) {
        return "the results file does not match the outcome";
    }
    if (!outcome.resultsWritten) return {};
    if (!run.results.ends_with("[ERROR]\r\nCount=" + std::to_string(outcome.findingCount) +
                               "\r\n")) {
        return "the results file does not end with its trailer";
    }
    const IniDocument results(run.results);
    double previous = 1;
    for (std::int64_t number = 1; number <= outcome.findingCount; ++number) {
        const auto line = results.find(std::to_string(number), "Line");
        const double value = line ? ParseNumber(*line) : 0;
        if (value < previous || value > static_cast<double>(lines)) {
            return "finding " + std::to_string(number) + " names line " +
                   std::string(line.value_or("(none)"));
        }
        previous = value;
    }
    if (results.find(std::to_string(outcome.findingCount + 1), "Line")) {
        return "more findings than counted";
    }
    return {};
}

std::string CheckReport(const RunRecord& run, const Configuration& configuration) {
    const RunOutcome& outcome = run.outcome;
    if (!outcome.reportStatus.ok()) return "the report failed: " + outcome.reportStatus.message();
    const bool expected =
        outcome.status == RunStatus::Validated && configuration.options.on(OptionKey::GDR);
    if (outcome.reportWritten != expected) {
        return "the report was written when it should not be, or the reverse";
    }
    if (outcome.reportWritten == run.report.empty()) return "the report does not match the outcome";
    return {};
}

std::string CheckSurroundings(const fs::path& directory, std::string_view load) {
    const std::set<std::string> allowed{std::string(kLoadName), std::string(kResultsName),
                                        std::string(kReportName), std::string(kNeighbourName)};
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
        if (!allowed.contains(entry.path().filename().string())) {
            return "the run left " + entry.path().string();
        }
    }
    if (error) return "the work directory cannot be listed: " + error.message();
    if (ReadBytes(directory / kLoadName) != load) return "the load file changed";
    if (ReadBytes(directory / kNeighbourName) != kNeighbourBytes) {
        return "the neighbouring file changed";
    }
    return {};
}

std::string CheckRun(const Configuration& configuration, std::string_view load,
                     const fs::path& directory) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
        fs::remove_all(entry.path(), error);
    }
    if (!WriteBytes(directory / kLoadName, load) ||
        !WriteBytes(directory / kNeighbourName, kNeighbourBytes)) {
        return "the work directory cannot be written";
    }
    if (std::string problem = CheckFieldScans(configuration.layouts, load); !problem.empty()) {
        return problem;
    }
    const RunRecord first = Validate(configuration, directory, 1, kDefaultChunkBytes);
    if (std::string problem = CheckStatus(first, load); !problem.empty()) return problem;
    if (first.outcome.status != RunStatus::TooSmall) {
        if (std::string problem = CheckResultsFile(first, LineCount(load)); !problem.empty()) {
            return problem;
        }
        if (std::string problem = CheckReport(first, configuration); !problem.empty()) {
            return problem;
        }
    }
    if (std::string problem = CheckSurroundings(directory, load); !problem.empty()) return problem;
    // The second run checks a few lines at a time on three threads: the outputs must not change.
    const RunRecord second = Validate(configuration, directory, 3, 64);
    if (second.results != first.results || second.report != first.report ||
        second.outcome.counters != first.outcome.counters ||
        second.outcome.status != first.outcome.status) {
        return "a second run of the same file, checked on three threads, ends otherwise";
    }
    return {};
}

Configuration LoadConfiguration(std::string_view text) {
    const IniDocument document{std::string(text)};
    return {LoadRecordLayouts(document), LoadOptionSettings(document), ValueLists::Load(document)};
}

std::string CheckRunWithConfiguration(std::string_view configurationText, std::string_view load,
                                      const fs::path& directory) {
    const Configuration configuration = LoadConfiguration(configurationText);
    if (!configuration.layouts.usable()) return {};
    return CheckRun(configuration, load, directory);
}

}  // namespace

std::string CheckRunWithProductionConfiguration(std::string_view input,
                                                const fs::path& workDirectory) {
    // Read once: it is the same for every input, and reading it would take a fifth of each run.
    static const Configuration production = LoadConfiguration(DefaultConfigurationText());
    return CheckRun(production, input, workDirectory);
}

std::string CheckRunWithFuzzedConfiguration(std::string_view input, const fs::path& workDirectory) {
    const std::size_t marker = input.find(kLoadFileMarker);
    if (marker == std::string_view::npos) {
        return CheckRunWithConfiguration(input, input, workDirectory);
    }
    return CheckRunWithConfiguration(input.substr(0, marker),
                                     input.substr(marker + kLoadFileMarker.size()), workDirectory);
}

}  // namespace talveron
