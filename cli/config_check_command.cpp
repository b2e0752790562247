#include "cli/config_check_command.h"

#include "cli/descriptor_output.h"
#include "config/configuration_check.h"
#include "config/profile_file.h"

namespace talveron {

namespace {

constexpr std::string_view kProgram = "talveron-cli";

}  // namespace

int CheckConfigurationFile(const std::filesystem::path& path, std::ostream& out, std::ostream& err,
                           bool quiet) {
    IniDocument document;
    if (const Status loaded = LoadIniFile(path, document); !loaded.ok()) {
        err << kProgram << ": " << loaded.message() << '\n';
        return 2;
    }
    const std::vector<ConfigurationProblem> problems = CheckConfiguration(document);
    for (const ConfigurationProblem& problem : problems)
        out << FormatProblem(path, problem) << '\n';
    // The list first, then the count after it, wherever the two streams go.
    if (!out.flush()) {
        err << kProgram << ": cannot write to standard output: " << OutputFailure(out) << '\n';
        return 2;
    }
    if (!quiet)
        err << kProgram << ": " << QuotedPath(path) << ": " << CountProblems(problems) << '\n';
    return problems.empty() ? 0 : 1;
}

}  // namespace talveron
