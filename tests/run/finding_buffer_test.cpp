#include "run/finding_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talveron {
namespace {

/// Copies what it is handed, as a results writer would use it.
class CopyingSink final : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace& place) override {
        seen.push_back(std::string(finding.message) + "|" + std::to_string(finding.lineNumber) +
                       "|" + std::string(finding.record) + "|" + std::string(place.value) + "|" +
                       std::to_string(place.spanFirst));
    }
    std::vector<std::string> seen;
};

TEST(FindingBufferTest, ReplaysRangesInReportOrderWithTheMessagesKept) {
    const std::string line = "line text";
    FindingBuffer buffer;
    for (int i = 1; i <= 3; ++i) {
        // The message goes away with the report call, as composed messages do.
        std::string message = "message " + std::to_string(i);
        Finding finding;
        finding.message = message;
        finding.lineNumber = i;
        finding.record = line;
        FindingPlace place;
        place.value = std::string_view(line).substr(0, 4);
        place.spanFirst = i * 10;
        buffer.writeFinding(finding, place);
        message.assign(message.size(), '#');
    }
    ASSERT_EQ(buffer.size(), 3u);

    CopyingSink first, rest;
    buffer.replay(0, 1, first);
    buffer.replay(1, 3, rest);
    EXPECT_EQ(first.seen, (std::vector<std::string>{"message 1|1|line text|line|10"}));
    EXPECT_EQ(rest.seen, (std::vector<std::string>{"message 2|2|line text|line|20",
                                                   "message 3|3|line text|line|30"}));

    buffer.clear();
    EXPECT_EQ(buffer.size(), 0u);
    CopyingSink none;
    buffer.replay(0, 0, none);
    EXPECT_TRUE(none.seen.empty());
}

}  // namespace
}  // namespace talveron
