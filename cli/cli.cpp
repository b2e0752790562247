#include "cli/cli.h"

#include <atomic>
#include <memory>
#include <vector>

#include "cli/batch.h"
#include "cli/cli_options.h"
#include "cli/finding_printer.h"
#include "cli/run_summary.h"
#include "config/default_configuration.h"
#include "config/ini_document.h"
#include "config/option_settings.h"
#include "config/profile_file.h"
#include "config/record_layout.h"
#include "config/value_lists.h"
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

struct LoadedConfiguration {
    LayoutTable layouts;
    OptionSettings options;
    ValueLists lists;
};

/// Reads the configuration; on failure prints why and returns false.
bool LoadConfiguration(const std::filesystem::path& path, LoadedConfiguration& loaded,
                       std::ostream& err) {
    IniDocument document;
    const Status status = LoadIniFile(path, document);
    if (!status.ok() && status.code() != Status::Code::NotFound) {
        err << kProgram << ": Configuration file invalid or not found! " << status.message()
            << '\n';
        return false;
    }
    loaded.layouts = LoadRecordLayouts(document);
    if (!status.ok() || !loaded.layouts.usable()) {
        err << kProgram << ": Configuration file invalid or not found! " << QuotedPath(path)
            << (status.ok() ? " does not define all four record layouts" : " does not exist")
            << '\n';
        return false;
    }
    loaded.options = LoadOptionSettings(document);
    loaded.lists = ValueLists::Load(document);
    return true;
}

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
    LoadedConfiguration configuration;
    if (!LoadConfiguration(configPath, configuration, err)) return 2;

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
        std::atomic<bool> active{true};
        ValidationRun run(inputs, environment.clock, observer, active);
        const RunOutcome outcome = run.execute(paths[index].load);
        if (printer) printer->finished(fileOut, outcome);
        if (options.format == OutputFormat::Text && !options.quiet)
            PrintRunSummary(fileOut, outcome);
        if (const std::string problem = RunProblem(outcome); !problem.empty()) {
            fileErr << kProgram << ": " << problem << '\n';
        }
        return ExitStatusOf(outcome);
    };
    return RunGroups(paths.size(), GroupBySharedOutputs(paths), options.jobs, validate, out, err);
}

}  // namespace talveron
