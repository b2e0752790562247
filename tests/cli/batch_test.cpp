#include "cli/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <sstream>

namespace talveron {
namespace {

TEST(GroupBySharedOutputs, FilesWithTheSameOutputsRunTogetherInOrder) {
    const std::vector<RunPaths> paths = {
        DeriveRunPaths("/d/a.dat"), DeriveRunPaths("/d/b.dat"), DeriveRunPaths("/d/a.old.dat"),
        DeriveRunPaths("/e/a.dat"), DeriveRunPaths("/d/b.x"),
    };
    const auto groups = GroupBySharedOutputs(paths);
    EXPECT_EQ(groups, (std::vector<std::vector<std::size_t>>{{0, 2}, {1, 4}, {3}}));
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
