#include "cli/run_summary.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/finding_printer.h"

namespace talveron {
namespace {

struct StatusCase {
    RunStatus status;
    const char* problem;  ///< RunProblems: the line on standard error, without the program
    int exitStatus;
    const char* statusLine;  ///< the summary's "Status:" line
    const char* jsonStatus;  ///< the JSON summary's status
    bool countersShown;      ///< the summary goes on past the status
};

class RunStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(RunStatusTest, IsSaidAlikeInEveryFormat) {
    const StatusCase& test = GetParam();
    RunOutcome outcome;
    outcome.status = test.status;
    outcome.paths = DeriveRunPaths("/data/load.dat");
    if (test.status != RunStatus::Validated && test.status != RunStatus::Cancelled) {
        outcome.problem = "Cannot validate \"/data/load.dat\": the reason";
    }
    const std::vector<std::string> problems = RunProblems(outcome);
    EXPECT_EQ(problems.empty() ? std::string() : problems.front(), test.problem);
    EXPECT_EQ(ExitStatusOf(outcome), test.exitStatus);

    std::ostringstream summary;
    PrintRunSummary(summary, outcome);
    EXPECT_TRUE(summary.str().starts_with(
        "/data/load.dat\n  Status:   " + std::string(test.statusLine) + "\n"))
        << summary.str();
    EXPECT_EQ(summary.str().find("Elapsed:") != std::string::npos, test.countersShown)
        << summary.str();

    std::ostringstream json;
    MakeFindingPrinter(OutputFormat::Json)->finished(json, outcome);
    EXPECT_EQ(nlohmann::json::parse(json.str())["status"], test.jsonStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, RunStatusTest,
    ::testing::Values(
        StatusCase{RunStatus::Validated, "", 0, "validated, no errors", "validated", true},
        StatusCase{RunStatus::Cancelled, "", 2, "cancelled", "cancelled", true},
        StatusCase{RunStatus::TooSmall,
                   "File is too small! Cannot validate \"/data/load.dat\": the reason", 2,
                   "File is too small!", "too small", false},
        StatusCase{RunStatus::Unreadable,
                   "Error Reading Load File! Cannot validate \"/data/load.dat\": the reason", 2,
                   "Error Reading Load File!", "unreadable", false},
        StatusCase{RunStatus::Refused, "Cannot validate \"/data/load.dat\": the reason", 2,
                   "refused", "refused", false},
        StatusCase{RunStatus::TooLarge, "Cannot validate \"/data/load.dat\": the reason", 2,
                   "too large", "too large", false}));

}  // namespace
}  // namespace talveron
