#include "cli/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

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

TEST(RunGroups, FilesRunOnTheThreadsThatCouldBeStarted) {
    const std::vector<std::vector<std::size_t>> groups = {{0, 3}, {1}, {2, 4}};
    // No thread at all, then one where three were asked for.
    for (int granted : {0, 1}) {
        int started = 0;
        const StartThread start = [&](std::function<void()> work) {
            if (started == granted)
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            ++started;
            return std::thread(std::move(work));
        };
        std::mutex mutex;
        std::set<std::thread::id> ranOn;
        const FileTask task = [&](std::size_t index, std::ostream& out, std::ostream&) {
            {
                std::lock_guard lock(mutex);
                ranOn.insert(std::this_thread::get_id());
            }
            out << "out" << index << ' ';
            return static_cast<int>(index % 2);
        };
        std::ostringstream out, err;
        EXPECT_EQ(RunGroups(5, groups, 3, task, out, err, start), 1) << granted;
        EXPECT_EQ(out.str(), "out0 out1 out2 out3 out4 ") << granted;
        ASSERT_EQ(ranOn.size(), 1u) << granted;
        EXPECT_EQ(ranOn.contains(std::this_thread::get_id()), granted == 0) << granted;
    }
}

}  // namespace
}  // namespace talveron
