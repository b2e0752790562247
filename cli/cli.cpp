#include "cli/cli.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/baseline_file.h"
#include "cli/batch.h"
#include "cli/cli_observer.h"
#include "cli/cli_options.h"
#include "cli/config_check_command.h"
#include "cli/descriptor_output.h"
#include "cli/finding_printer.h"
#include "cli/output_folder_check.h"
#include "cli/run_summary.h"
#include "config/default_configuration.h"
#include "config/profile_file.h"
#include "config/run_configuration.h"
#include "report/html_report.h"
#include "run/run_html_report.h"
#include "run/validation_run.h"
#include "talveron/version.h"

namespace talveron {

namespace {

constexpr std::string_view kProgram = "talveron-cli";

int UsageError(std::ostream& err, std::string_view message) {
    err << kProgram << ": " << message << "\nTry '" << kProgram
        << " --help' for more information.\n";
    return 2;
}

bool ColorWanted(const CliOptions& options, const CliEnvironment& environment) {
    if (options.color != ColorWhen::Auto) return options.color == ColorWhen::Always;
    const char* noColor = environment.variable ? environment.variable("NO_COLOR") : nullptr;
    return environment.outputIsTerminal && (noColor == nullptr || *noColor == '\0');
}

/// What the HTML report needs of each file once all have run.
struct FileResult {
    std::optional<RunOutcome> outcome;
    std::unique_ptr<FindingGroups> groups;
};

/// Writes the HTML report of every file; false, with the reason on `err`, when it failed.
bool WriteHtml(const std::filesystem::path& path, const CliOptions& options,
               const std::vector<FileResult>& results, const PersonalDataMask* mask,
               const Clock& clock, TemporaryFileList* temporaries, std::ostream& err) {
    HtmlReport report{std::string(kProgram) + ' ' + std::string(kVersion),
                      HtmlReportDate(options.asOf ? *options.asOf : clock.now()),
                      mask,
                      {}};
    for (std::size_t index = 0; index < results.size(); ++index) {
        const FileResult& result = results[index];
        if (result.outcome) {
            report.files.push_back(HtmlSectionOf(*result.outcome, result.groups.get()));
        } else {
            HtmlFileSection section;
            section.loadPath = options.loadFiles[index].string();
            section.outcome = "not validated";
            section.errorsOrStopped = true;
            section.findings = result.groups.get();
            report.files.push_back(std::move(section));
        }
    }
    const Status saved = SaveHtmlReport(path, report, temporaries);
    if (!saved.ok())
        err << kProgram << ": the HTML report was not written: " << saved.message() << '\n';
    return saved.ok();
}

/// Reads the baseline and pairs its files with the load files; false, with the reason on `err`,
/// when it cannot be read, is not a JSON output or cannot be paired.
bool ReadBaselineFile(const std::filesystem::path& path,
                      std::span<const std::filesystem::path> loadFiles,
                      std::vector<EarlierFile>& files, std::vector<const EarlierFile*>& pairs,
                      std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << kProgram << ": cannot read the baseline " << QuotedPath(path) << ": "
            << std::strerror(errno != 0 ? errno : EIO) << '\n';
        return false;
    }
    if (const std::string refusal = ReadBaseline(in, files); !refusal.empty()) {
        err << kProgram << ": the baseline " << QuotedPath(path)
            << " is not usable as the output of talveron-cli --format json: " << refusal << '\n';
        return false;
    }
    // A JSON output as it should be, which these load files cannot be compared with.
    if (const std::string refusal = PairWithBaseline(files, loadFiles, pairs); !refusal.empty()) {
        err << kProgram << ": the baseline " << QuotedPath(path) << " cannot be used: " << refusal
            << '\n';
        return false;
    }
    return true;
}

}  // namespace

int RunCli(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    const CliParse parse = ParseCliOptions(arguments);
    if (!parse.error.empty()) return UsageError(err, parse.error);
    const CliOptions& options = parse.options;
    if (options.help) {
        out << CliUsage();
        return 0;
    }
    if (options.version) {
        out << kProgram << ' ' << kVersion << '\n';
        return 0;
    }
    if (options.checkConfig && !options.loadFiles.empty())
        return UsageError(err, "--check-config validates no load file");
    if (!options.configPath && environment.configDirectory.empty() &&
        (options.installConfig || options.checkConfig || !options.loadFiles.empty())) {
        err << kProgram << ": " << kNoConfigurationDirectory << ", or give --config\n";
        return 2;
    }
    if (options.installConfig) {
        const Status installed = InstallDefaultConfiguration(environment.configDirectory);
        if (installed.ok()) {
            err << kProgram << ": installed the default configuration as "
                << QuotedPath(environment.configDirectory / kConfigurationFileName) << '\n';
        } else {
            err << kProgram << ": " << installed.message() << '\n';
            if (installed.code() != Status::Code::Refused) return 2;
        }
        if (options.loadFiles.empty() && !options.checkConfig) return 0;
    }

    std::filesystem::path configPath = options.configPath
                                           ? *options.configPath
                                           : environment.configDirectory / kConfigurationFileName;
    std::error_code ignored;  // a path that cannot be made absolute is named as given
    if (auto absolute = std::filesystem::absolute(configPath, ignored); !ignored)
        configPath = absolute;
    if (options.checkConfig) return CheckConfigurationFile(configPath, out, err, options.quiet);
    if (options.loadFiles.empty()) return UsageError(err, "no load file given");
    RunConfiguration configuration;
    if (const Status loaded = LoadRunConfiguration(configPath, configuration); !loaded.ok()) {
        err << kProgram << ": Configuration file invalid or not found! " << loaded.message();
        // --install-config writes only to the default place, and only where no file is.
        if (!options.configPath && loaded.code() == Status::Code::NotFound)
            err << "; 'talveron-cli --install-config' installs the shipped configuration in the "
                   "configuration directory";
        err << '\n';
        return 2;
    }

    RunInputs inputs{configuration.layouts, configuration.options, configuration.lists,
                     options.asOf};
    inputs.threads = options.threads.value_or(ValidationThreads(options.jobs));
    inputs.temporaries = environment.temporaries;
    if (options.noOutputs) {
        inputs.outputs.kind = OutputPlace::Kind::Nowhere;
    } else if (options.outputDir) {
        inputs.outputs = {OutputPlace::Kind::Folder, *options.outputDir};
        if (const std::string refusal = OutputFolderRefusal(*options.outputDir, options.loadFiles);
            !refusal.empty()) {
            err << kProgram << ": " << refusal << '\n';
            return 2;
        }
    }
    std::vector<EarlierFile> earlierFiles;
    std::vector<const EarlierFile*> earlier;
    if (options.baselinePath &&
        !ReadBaselineFile(*options.baselinePath, options.loadFiles, earlierFiles, earlier, err))
        return 2;
    std::vector<std::vector<std::string>> keys;
    for (const auto& file : options.loadFiles)
        keys.push_back(TouchedKeys(file.string(), inputs.outputs));
    // The report is renamed into place after the runs, so it must not take the name of a load
    // file or an output of them.
    if (options.htmlPath) {
        const std::string html = NameKey(options.htmlPath->string());
        // A report that cannot be written is found before the runs, not after them.
        if (html.empty()) {
            err << kProgram << ": refusing --html " << QuotedPath(*options.htmlPath)
                << ": no file can be written there\n";
            return 2;
        }
        for (const auto& fileKeys : keys) {
            if (std::ranges::find(fileKeys, html) != fileKeys.end()) {
                err << kProgram << ": refusing --html " << QuotedPath(*options.htmlPath)
                    << ": the report would replace a load file of this command or one of its "
                       "outputs\n";
                return 2;
            }
        }
    }
    const TerminalColors colors(ColorWanted(options, environment));
    // --quiet drops the text format's summary, and with it the comparison printed after it.
    const std::unique_ptr<FindingPrinter> printer =
        options.format == OutputFormat::Text && options.quiet
            ? nullptr
            : MakeFindingPrinter(options.format, colors,
                                 {options.baselinePath.has_value(), options.mask});
    if (printer) printer->start(out);
    const std::optional<PersonalDataMask> mask =
        options.mask ? std::optional<PersonalDataMask>(configuration.layouts) : std::nullopt;
    const FindingIdentifier identifier(configuration.layouts);
    // Findings printed to the terminal show the progress themselves; several files at once
    // would fight over one line.
    const bool showProgress =
        environment.errorIsTerminal && !options.quiet && options.jobs == 1 &&
        (!environment.outputIsTerminal || options.format == OutputFormat::Text);
    std::vector<FileResult> results(options.loadFiles.size());
    const CancelRequest neverCancelled;
    const CancelRequest& cancel = environment.cancel ? *environment.cancel : neverCancelled;

    const FileTask validate = [&](std::size_t index, std::ostream& fileOut, std::ostream& fileErr) {
        const std::string file = options.loadFiles[index].string();
        const std::unique_ptr<FilePrinter> filePrinter =
            printer ? printer->forFile(fileOut, file, index) : nullptr;
        FileResult& result = results[index];
        if (options.htmlPath)
            result.groups = std::make_unique<FindingGroups>(configuration.layouts);
        RunOutcome outcome;
        outcome.paths = DeriveRunPaths(file);
        FileEnd end{2, std::nullopt};
        // An interrupt ends the runs under way; the files after them are not begun.
        if (cancel.requested()) {
            outcome.status = RunStatus::Cancelled;
        } else {
            try {
                std::optional<ProgressLine> progress;
                if (showProgress) {
                    std::error_code unknown;  // a size that cannot be read shows as 0 MB/s
                    const auto size = std::filesystem::file_size(file, unknown);
                    progress.emplace(fileErr, environment.clock, file,
                                     unknown ? 0 : static_cast<std::int64_t>(size),
                                     environment.terminalColumns);
                }
                CliObserver observer(identifier, filePrinter.get(), result.groups.get(),
                                     mask ? &*mask : nullptr, progress ? &*progress : nullptr);
                const EarlierFile* before = options.baselinePath ? earlier[index] : nullptr;
                std::optional<BaselineComparison> comparison;
                if (options.baselinePath) {
                    comparison.emplace(before ? before->digests() : std::vector<IdentityDigest>());
                    observer.compareWith(*comparison, before && before->masked);
                }
                ValidationRun run(inputs, environment.clock, observer, cancel);
                outcome = run.execute(file);
                if (options.format == OutputFormat::Text && !options.quiet)
                    PrintRunSummary(fileOut, outcome, colors);
                for (const std::string& problem : RunProblems(outcome)) {
                    fileErr << kProgram << ": " << problem << '\n';
                }
                end.exitStatus = ExitStatusOf(outcome);
                if (comparison) {
                    end.baseline = comparison->counts();
                    // Only a run that checked every line can tell what is gone.
                    if (outcome.status == RunStatus::Validated) {
                        for (const std::size_t position : comparison->fixed())
                            observer.reportFixed(before->findings[position]);
                    } else {
                        end.baseline->fixed = 0;
                    }
                }
                if (options.failOnNew && end.exitStatus < 2)
                    end.exitStatus = observer.newErrors() > 0 ? 1 : 0;
            } catch (const std::exception& error) {
                fileErr << kProgram << ": " << QuotedPath(file)
                        << " was not validated: " << error.what() << '\n';
                outcome.status = RunStatus::Unreadable;
                outcome.problem = QuotedPath(file) + " was not validated: " + error.what();
            }
        }
        if (filePrinter) filePrinter->finished(outcome, end);
        if (environment.outputIsTerminal) fileOut.flush();
        result.outcome = std::move(outcome);
        return end.exitStatus;
    };
    int status = RunGroups(keys.size(), GroupBySharedKeys(keys), options.jobs, validate, out, err);
    if (printer) printer->end(out);
    if (options.htmlPath && !WriteHtml(*options.htmlPath, options, results, mask ? &*mask : nullptr,
                                       environment.clock, environment.temporaries, err))
        status = 2;
    if (!out.flush()) {
        err << kProgram << ": cannot write to standard output: " << OutputFailure(out) << '\n';
        status = 2;
    }
    return status;
}

}  // namespace talveron
