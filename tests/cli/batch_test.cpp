#include "cli/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <sstream>

#include "support/test_support.h"

namespace talveron {
namespace {

TEST(GroupBySharedKeys, FilesThatTouchOneThingRunTogetherInOrder) {
    testing::TemporaryDirectory dir;
    const auto root = dir.path();
    std::filesystem::create_directories(root / "d");
    std::filesystem::create_directories(root / "e");
    std::filesystem::create_directory_symlink(root / "d", root / "L");
    testing::WriteBytes(root / "d" / "a.dat", "a");
    testing::WriteBytes(root / "d" / "b.dat", "b");
    std::filesystem::create_hard_link(root / "d" / "b.dat", root / "e" / "c.dat");
    // a.x.dat through the link writes d/a.err; e/c.dat is d/b.dat under another name; f/ is
    // missing, so its file has no keys and runs alone.
    const std::vector<std::string> files = {"d/a.dat", "d/b.dat", "L/a.x.dat",   "e/c.dat",
                                            "e/a.dat", "f/a.dat", "L/../e/a.dat"};
    std::vector<std::vector<std::string>> keys;
    for (const std::string& file : files) keys.push_back(TouchedKeys((root / file).string(), {}));
    EXPECT_EQ(GroupBySharedKeys(keys),
              (std::vector<std::vector<std::size_t>>{{0, 2}, {1, 3}, {4, 6}, {5}}));
    // Keys join files also through a third one.
    EXPECT_EQ(GroupBySharedKeys(std::vector<std::vector<std::string>>{{"x"}, {"y"}, {"x", "y"}}),
              (std::vector<std::vector<std::size_t>>{{0, 1, 2}}));
}

TEST(RunGroups, OutputFollowsFileOrderAndTheHighestStatusWins) {
    const std::vector<std::vector<std::size_t>> groups = {{0, 3}, {1}, {2, 4}};
    std::mutex mutex;
    std::vector<std::size_t> started;
    const FileTask task = [&](std::size_t index, std::ostream& out, std::ostream& err) {
        {
            std::lock_guard lock(mutex);
            started.push_back(index);
        }
        out << "out" << index << ' ';
        err << "err" << index << ' ';
        return index == 2 ? 2 : static_cast<int>(index % 2);
    };
    for (int jobs : {1, 3}) {
        started.clear();
        std::ostringstream out, err;
        EXPECT_EQ(RunGroups(5, groups, jobs, task, out, err), 2) << jobs;
        EXPECT_EQ(out.str(), "out0 out1 out2 out3 out4 ") << jobs;
        EXPECT_EQ(err.str(), "err0 err1 err2 err3 err4 ") << jobs;
        // Within a group the later file starts only after the earlier one.
        const auto position = [&](std::size_t index) {
            return std::find(started.begin(), started.end(), index) - started.begin();
        };
        EXPECT_LT(position(0), position(3)) << jobs;
        EXPECT_LT(position(2), position(4)) << jobs;
    }
}

}  // namespace
}  // namespace talveron
