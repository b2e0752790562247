#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace talveron {

/// How much a configuration problem matters: an error makes runs check wrongly or not at all, a
/// warning is something a run ignores or reads otherwise than it is written.
enum class ProblemLevel { Error, Warning };

/// One problem of a configuration file, at the line it is written on.
struct ConfigurationProblem {
    std::size_t line = 0;  ///< 0 when the problem is something the file lacks
    ProblemLevel level = ProblemLevel::Error;
    std::string message;

    bool operator==(const ConfigurationProblem&) const = default;
};

/// The problems found so far, in the order found.
class ProblemList {
public:
    void error(std::size_t line, std::string message) {
        problems_.push_back({line, ProblemLevel::Error, std::move(message)});
    }
    void warning(std::size_t line, std::string message) {
        problems_.push_back({line, ProblemLevel::Warning, std::move(message)});
    }
    /// The problems ordered by line, those without a line first; found order within a line.
    std::vector<ConfigurationProblem> sorted() &&;

private:
    std::vector<ConfigurationProblem> problems_;
};

/// A section as messages name it: "[D]".
std::string Bracketed(std::string_view section);

/// "error" or "warning".
std::string_view LevelWord(ProblemLevel level);

/// How many there are: "2 errors, 1 warning", or "no problems found".
std::string CountProblems(const std::vector<ConfigurationProblem>& problems);

/// The problem as compilers write one: "PATH:LINE: error: MESSAGE", or "PATH: error: MESSAGE"
/// when it has no line.
std::string FormatProblem(const std::filesystem::path& path, const ConfigurationProblem& problem);

}  // namespace talveron
