#include "engine/run_paths.h"

#include <gtest/gtest.h>

namespace talveron {
namespace {

struct PathCase {
    const char* load;
    const char* results;
    const char* report;
};

class RunPathsTest : public testing::TestWithParam<PathCase> {};

TEST_P(RunPathsTest, OutputsAreTheFileNameCutBeforeItsFirstDot) {
    const RunPaths paths = DeriveRunPaths(GetParam().load);
    EXPECT_EQ(paths.load, GetParam().load);
    EXPECT_EQ(paths.results.string(), GetParam().results);
    EXPECT_EQ(paths.report.string(), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RunPathsTest,
    testing::Values(PathCase{"/data/load.dat", "/data/load.err", "/data/load.dst"},
                    PathCase{"/data/load.2024.dat", "/data/load.err", "/data/load.dst"},
                    // A dot in a folder name is left alone.
                    PathCase{"/data.old/load.dat", "/data.old/load.err", "/data.old/load.dst"},
                    PathCase{"data.old/load", "data.old/load.err", "data.old/load.dst"},
                    PathCase{"/data/load", "/data/load.err", "/data/load.dst"},
                    PathCase{"load.dat", "load.err", "load.dst"},
                    PathCase{"load", "load.err", "load.dst"},
                    PathCase{"/data/.dat", "/data/.err", "/data/.dst"}));

TEST(RunPathsTest, AnOutputEqualToTheLoadFileCollides) {
    EXPECT_TRUE(DeriveRunPaths("/data/x.err").collides());
    EXPECT_TRUE(DeriveRunPaths("/data/x.dst").collides());
    EXPECT_TRUE(DeriveRunPaths("x.err").collides());
    EXPECT_FALSE(DeriveRunPaths("/data/x.dat").collides());
    EXPECT_FALSE(DeriveRunPaths("/data/x.err.dat").collides());
    EXPECT_FALSE(DeriveRunPaths("/data/x").collides());
}

}  // namespace
}  // namespace talveron
