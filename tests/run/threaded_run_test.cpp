// However a run shares its checking among threads, it writes the same bytes and tells its front
// end the same things in the same order.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "config/default_configuration.h"
#include "config/option_settings.h"
#include "config/value_lists.h"
#include "engine/engine_test_support.h"
#include "run/validation_run.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;

/// Everything a run produced that a user or a front end could see.
struct Seen {
    RunOutcome outcome;
    std::string results;
    std::string report;
    testing::RecordingObserver observer;
};

class ThreadedRunTest : public ::testing::TestWithParam<testing::RunThreading> {
protected:
    Seen Run(const fs::path& load, int threads, std::size_t chunkBytes) {
        RunInputs inputs{layouts, options, lists, std::nullopt};
        inputs.threads = threads;
        inputs.chunkBytes = chunkBytes;
        Seen seen;
        const CancelRequest cancel;
        ValidationRun run(inputs, clock, seen.observer, cancel);
        seen.outcome = run.execute(load);
        seen.results = fs::exists(seen.outcome.paths.results)
                           ? ReadBytes(seen.outcome.paths.results)
                           : "(none)";
        seen.report =
            fs::exists(seen.outcome.paths.report) ? ReadBytes(seen.outcome.paths.report) : "(none)";
        return seen;
    }

    /// Runs the load file on one thread and as the parameter says, and compares all that was seen.
    void ExpectTheSameAsOneThread(const std::string& name) {
        const fs::path load = dir / name;
        fs::copy_file(kSampleData / name, load, fs::copy_options::overwrite_existing);
        const Seen one = Run(load, 1, kDefaultChunkBytes);
        const Seen shared = Run(load, GetParam().threads, GetParam().chunkBytes);

        EXPECT_EQ(shared.outcome.status, one.outcome.status) << name;
        EXPECT_EQ(shared.outcome.cancelReason, one.outcome.cancelReason) << name;
        EXPECT_EQ(shared.outcome.counters.values, one.outcome.counters.values) << name;
        EXPECT_EQ(shared.outcome.findingCount, one.outcome.findingCount) << name;
        EXPECT_EQ(shared.results, one.results) << name;
        EXPECT_EQ(shared.report, one.report) << name;

        const testing::RecordingObserver& a = one.observer;
        const testing::RecordingObserver& b = shared.observer;
        EXPECT_EQ(b.phases, a.phases) << name;
        EXPECT_EQ(b.lines, a.lines) << name;
        EXPECT_EQ(b.counterUpdates, a.counterUpdates) << name;
        EXPECT_EQ(b.progress, a.progress) << name;
        EXPECT_EQ(b.information, a.information) << name;
        const auto asTuples = [](const std::vector<testing::SeenFinding>& findings) {
            std::vector<std::tuple<Level, std::string, std::int64_t, std::int32_t, std::int32_t>>
                tuples;
            for (const auto& f : findings) {
                tuples.emplace_back(f.level, f.message, f.lineNumber, f.column, f.character);
            }
            return tuples;
        };
        EXPECT_EQ(asTuples(b.findings), asTuples(a.findings)) << name;
    }

    IniDocument configuration{std::string(DefaultConfigurationText())};
    LayoutTable layouts = LoadRecordLayouts(configuration);
    OptionSettings options = LoadOptionSettings(configuration);
    ValueLists lists = ValueLists::Load(configuration);
    testing::FakeClock clock{{2025, 3, 1, 9, 30, 0}};
    testing::TempDir dir;
};

TEST_P(ThreadedRunTest, TheShippedLoadFilesGiveWhatOneThreadGives) {
    // faulty.dat has findings of every family, among them the monitoring-period and intake
    // checks that depend on records far from the line checked.
    for (const char* name : {"faulty.dat", "sample.dat"}) ExpectTheSameAsOneThread(name);
}

TEST_P(ThreadedRunTest, ARunStoppedByTheErrorLimitStopsAtTheSameLine) {
    options.set(OptionKey::TE, -1);
    options.set(OptionKey::TE_VAL, 5);
    ExpectTheSameAsOneThread("faulty.dat");
}

INSTANTIATE_TEST_SUITE_P(Threadings, ThreadedRunTest, ::testing::ValuesIn(testing::kRunThreadings),
                         testing::RunThreadingName);

}  // namespace
}  // namespace talveron
