#include "run/run_paths.h"

#include <gtest/gtest.h>

namespace talveron {
namespace {

TEST(RunPathsTest, OutputsAreTheFileNameCutBeforeItsFirstDot) {
    const auto expect = [](const char* load, const char* results, const char* report) {
        const RunPaths paths = DeriveRunPaths(load);
        EXPECT_EQ(paths.load, load);
        EXPECT_EQ(paths.results.string(), results);
        EXPECT_EQ(paths.report.string(), report);
    };
    expect("/data/load.dat", "/data/load.err", "/data/load.dst");
    expect("/data/load.2024.dat", "/data/load.err", "/data/load.dst");
    // A dot in a folder name is left alone.
    expect("/data.old/load.dat", "/data.old/load.err", "/data.old/load.dst");
    expect("data.old/load", "data.old/load.err", "data.old/load.dst");
    expect("load.dat", "load.err", "load.dst");
    expect("load", "load.err", "load.dst");
    expect("/data/.dat", "/data/.err", "/data/.dst");
}

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
