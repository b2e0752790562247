#include "run/ordered_pipeline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace talveron {
namespace {

/// Items 1..count; each result is the item squared, worked out slowly enough for threads to
/// overtake each other.
struct Squares {
    int count;
    int next = 1;

    bool produce(int& item) {
        if (next > count) return false;
        item = next++;
        return true;
    }
    static void process(const int& item, long& result) {
        if (item % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        result = static_cast<long>(item) * item;
    }
};

class OrderedPipelineTest : public ::testing::TestWithParam<int> {};

TEST_P(OrderedPipelineTest, ResultsArriveInItemOrderWhateverTheThreads) {
    for (int count : {0, 1, 7, 200}) {
        Squares squares{count};
        std::vector<long> results;
        OrderedPipeline<int, long>(GetParam())
            .run([&](int& item) { return squares.produce(item); }, Squares::process,
                 [&](const int& item, long& result) {
                     EXPECT_EQ(item, static_cast<int>(results.size()) + 1);
                     results.push_back(result);
                     return true;
                 });
        ASSERT_EQ(results.size(), static_cast<std::size_t>(count)) << count;
        for (int i = 1; i <= count; ++i) EXPECT_EQ(results[i - 1], long{i} * i);
    }
}

TEST_P(OrderedPipelineTest, AConsumerThatSaysStopGetsNothingMoreAndProductionEnds) {
    Squares squares{1000};
    std::vector<int> seen;
    OrderedPipeline<int, long>(GetParam())
        .run([&](int& item) { return squares.produce(item); }, Squares::process,
             [&](const int& item, long&) {
                 seen.push_back(item);
                 return item < 5;
             });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
    // Only the items in flight when it stopped were produced beyond the last one consumed.
    EXPECT_LE(squares.next - 1, 5 + 2 * GetParam());
}

TEST_P(OrderedPipelineTest, AnExceptionFromProcessingReachesTheCaller) {
    Squares squares{50};
    std::vector<int> seen;
    const auto failAt17 = [](const int& item, long& result) {
        if (item == 17) throw std::runtime_error("item 17");
        Squares::process(item, result);
    };
    const auto consume = [&](const int& item, long&) {
        seen.push_back(item);
        return true;
    };
    const auto run = [&] {
        OrderedPipeline<int, long>(GetParam())
            .run([&](int& item) { return squares.produce(item); }, failAt17, consume);
    };
    EXPECT_THROW(run(), std::runtime_error);
    // Every item before the failing one was consumed, none after.
    ASSERT_EQ(seen.size(), 16u);
    EXPECT_EQ(seen.back(), 16);
}

TEST_P(OrderedPipelineTest, AnExceptionFromTheConsumerStopsTheThreads) {
    Squares squares{100};
    const auto consume = [](const int& item, long&) {
        if (item == 3) throw std::logic_error("consumer");
        return true;
    };
    const auto run = [&] {
        OrderedPipeline<int, long>(GetParam())
            .run([&](int& item) { return squares.produce(item); }, Squares::process, consume);
    };
    EXPECT_THROW(run(), std::logic_error);
}

TEST(OrderedPipelineOneThread, ProcessesOnTheCallingThread) {
    const std::thread::id caller = std::this_thread::get_id();
    int produced = 0;
    OrderedPipeline<int, int>(1).run(
        [&](int& item) { return (item = produced++) < 3; },
        [&](const int&, int&) { EXPECT_EQ(std::this_thread::get_id(), caller); },
        [](const int&, int&) { return true; });
    EXPECT_EQ(produced, 4);
}

INSTANTIATE_TEST_SUITE_P(Threads, OrderedPipelineTest, ::testing::Values(1, 2, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "Threads";
                         });

}  // namespace
}  // namespace talveron
