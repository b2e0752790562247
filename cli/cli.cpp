#include "cli/cli.h"

#include <memory>
#include <vector>

#include "cli/batch.h"
#include "cli/cli_options.h"
#include "cli/config_check_command.h"
#include "cli/descriptor_output.h"
#include "cli/finding_printer.h"
#include "cli/output_folder_check.h"
#include "cli/run_summary.h"
#include "config/default_configuration.h"
#include "config/profile_file.h"
#include "config/run_configuration.h"
#include "run/validation_run.h"
#include "talveron/version.h"

namespace talveron {

namespace {

constexpr std::string_view kProgram = "talveron-cli";

/// Sends every counted finding of a run to the printer.
class PrintingObserver final : public RunObserver {
public:
    PrintingObserver(const FindingPrinter* printer, std::ostream& out, std::string file)
        : printer_(printer), out_(out), file_(std::move(file)) {}

    void findingReported(const Finding& finding, const FindingPlace& place) override {
        if (printer_) printer_->finding(out_, file_, finding, place);
    }

private:
    const FindingPrinter* printer_;
    std::ostream& out_;
    std::string file_;
};

int UsageError(std::ostream& err, std::string_view message) {
    err << kProgram << ": " << message << "\nTry '" << kProgram
        << " --help' for more information.\n";
    return 2;
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
        err << kProgram << ": Configuration file invalid or not found! " << loaded.message()
            << '\n';
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
    std::vector<std::vector<std::string>> keys;
    for (const auto& file : options.loadFiles)
        keys.push_back(TouchedKeys(file.string(), inputs.outputs));
    const std::unique_ptr<FindingPrinter> printer = MakeFindingPrinter(options.format);
    if (printer) printer->start(out);
    const CancelRequest neverCancelled;
    const CancelRequest& cancel = environment.cancel ? *environment.cancel : neverCancelled;

    const FileTask validate = [&](std::size_t index, std::ostream& fileOut, std::ostream& fileErr) {
        const std::string file = options.loadFiles[index].string();
        // An interrupt ends the runs under way; the files after them are not begun.
        if (cancel.requested()) return 2;
        try {
            PrintingObserver observer(printer.get(), fileOut, file);
            ValidationRun run(inputs, environment.clock, observer, cancel);
            const RunOutcome outcome = run.execute(file);
            if (printer) printer->finished(fileOut, outcome);
            if (options.format == OutputFormat::Text && !options.quiet)
                PrintRunSummary(fileOut, outcome);
            for (const std::string& problem : RunProblems(outcome)) {
                fileErr << kProgram << ": " << problem << '\n';
            }
            return ExitStatusOf(outcome);
        } catch (const std::exception& error) {
            fileErr << kProgram << ": " << QuotedPath(file)
                    << " was not validated: " << error.what() << '\n';
            return 2;
        }
    };
    int status = RunGroups(keys.size(), GroupBySharedKeys(keys), options.jobs, validate, out, err);
    if (!out.flush()) {
        err << kProgram << ": cannot write to standard output: " << OutputFailure(out) << '\n';
        status = 2;
    }
    return status;
}

}  // namespace talveron
