#include "cli/cli.h"

#include <memory>
#include <vector>

#include "cli/batch.h"
#include "cli/cli_options.h"
#include "cli/finding_printer.h"
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
    if (options.installConfig) {
        const Status installed = InstallDefaultConfiguration(environment.configDirectory);
        if (installed.ok()) {
            out << kProgram << ": installed the default configuration as "
                << QuotedPath(environment.configDirectory / kConfigurationFileName) << '\n';
        } else if (installed.code() == Status::Code::Refused) {
            out << kProgram << ": " << installed.message() << '\n';
        } else {
            err << kProgram << ": " << installed.message() << '\n';
            return 2;
        }
        if (options.loadFiles.empty()) return 0;
    }
    if (options.loadFiles.empty()) return UsageError(err, "no load file given");

    const std::filesystem::path configPath =
        options.configPath ? *options.configPath
                           : environment.configDirectory / kConfigurationFileName;
    RunConfiguration configuration;
    if (const Status loaded = LoadRunConfiguration(configPath, configuration); !loaded.ok()) {
        err << kProgram << ": Configuration file invalid or not found! " << loaded.message()
            << '\n';
        return 2;
    }

    std::vector<RunPaths> paths;
    for (const auto& file : options.loadFiles) {
        paths.push_back(DeriveRunPaths(std::filesystem::absolute(file).lexically_normal()));
    }
    const std::unique_ptr<FindingPrinter> printer = MakeFindingPrinter(options.format);
    if (printer) printer->start(out);
    RunInputs inputs{configuration.layouts, configuration.options, configuration.lists,
                     options.asOf};
    inputs.threads = options.threads.value_or(ValidationThreads(options.jobs));

    const FileTask validate = [&](std::size_t index, std::ostream& fileOut, std::ostream& fileErr) {
        PrintingObserver observer(printer.get(), fileOut, options.loadFiles[index].string());
        const CancelRequest cancel;
        ValidationRun run(inputs, environment.clock, observer, cancel);
        const RunOutcome outcome = run.execute(paths[index].load);
        if (printer) printer->finished(fileOut, outcome);
        if (options.format == OutputFormat::Text && !options.quiet)
            PrintRunSummary(fileOut, outcome);
        for (const std::string& problem : RunProblems(outcome)) {
            fileErr << kProgram << ": " << problem << '\n';
        }
        return ExitStatusOf(outcome);
    };
    return RunGroups(paths.size(), GroupBySharedOutputs(paths), options.jobs, validate, out, err);
}

}  // namespace talveron
