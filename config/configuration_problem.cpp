#include "config/configuration_problem.h"

#include <algorithm>

namespace talveron {

std::vector<ConfigurationProblem> ProblemList::sorted() && {
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const ConfigurationProblem& a, const ConfigurationProblem& b) {
                         return a.line < b.line;
                     });
    return std::move(problems_);
}

std::string Bracketed(std::string_view section) { return "[" + std::string(section) + "]"; }

std::string_view LevelWord(ProblemLevel level) {
    return level == ProblemLevel::Error ? "error" : "warning";
}

std::string CountProblems(const std::vector<ConfigurationProblem>& problems) {
    if (problems.empty()) return "no problems found";
    const auto errors = static_cast<std::size_t>(std::count_if(
        problems.begin(), problems.end(),
        [](const ConfigurationProblem& p) { return p.level == ProblemLevel::Error; }));
    const auto counted = [](std::size_t count, std::string word) {
        return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
    };
    return counted(errors, "error") + ", " + counted(problems.size() - errors, "warning");
}

std::string FormatProblem(const std::filesystem::path& path, const ConfigurationProblem& problem) {
    std::string text = path.string();
    if (problem.line != 0) text += ':' + std::to_string(problem.line);
    text += ": ";
    text += LevelWord(problem.level);
    text += ": ";
    text += problem.message;
    return text;
}

}  // namespace talveron
