#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "support/test_support.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzData = TALVERON_FUZZ_DATA_DIR;

/// The stored inputs of a target: its seed corpus and the inputs that once broke it.
std::vector<fs::path> StoredInputs(std::string_view target) {
    std::vector<fs::path> inputs;
    for (const fs::path& folder : {kFuzzData / target, kFuzzData / "regressions" / target}) {
        if (!fs::is_directory(folder)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<std::string> TargetNames() {
    std::vector<std::string> names;
    for (const FuzzTarget& target : FuzzTargets()) names.emplace_back(target.name);
    return names;
}

class FuzzRegressionTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzRegressionTest, EveryStoredInputKeepsEveryInvariant) {
    const FuzzTarget* target = FindFuzzTarget(GetParam());
    ASSERT_NE(target, nullptr);
    const std::vector<fs::path> inputs = StoredInputs(target->name);
    ASSERT_FALSE(inputs.empty()) << "no corpus for " << target->name;
    testing::TemporaryDirectory workDirectory;
    for (const fs::path& input : inputs) {
        EXPECT_EQ(target->check(testing::ReadBytes(input), workDirectory.path()), "")
            << input.string();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressionTest, ::testing::ValuesIn(TargetNames()),
                         [](const auto& info) { return info.param; });

TEST(FuzzRegressionFolders, EveryFolderNamesATarget) {
    for (const fs::path& folder : {kFuzzData, kFuzzData / "regressions"}) {
        if (!fs::is_directory(folder)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_directory() || name == "regressions") continue;
            EXPECT_NE(FindFuzzTarget(name), nullptr)
                << entry.path().string() << " is read by no target";
        }
    }
}

}  // namespace
}  // namespace talveron
