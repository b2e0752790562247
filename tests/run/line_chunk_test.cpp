#include "run/line_chunk.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace talveron {
namespace {

/// The lines of every chunk a reader fills from `bytes`, with the first line number of each.
struct Chunked {
    std::vector<std::int64_t> firstLines;
    std::vector<std::vector<std::string>> lines;
};

Chunked ChunkAll(const std::string& bytes, std::size_t targetBytes) {
    std::istringstream input(bytes);
    LineReader reader(input);
    LineChunk chunk;
    Chunked chunked;
    std::int64_t linesRead = 0;
    while (chunk.fill(reader, linesRead, targetBytes)) {
        chunked.firstLines.push_back(chunk.firstLineNumber());
        auto& lines = chunked.lines.emplace_back();
        for (std::size_t i = 0; i < chunk.size(); ++i) lines.emplace_back(chunk.line(i));
        linesRead += static_cast<std::int64_t>(chunk.size());
    }
    return chunked;
}

TEST(LineChunkTest, FillsToTheTargetAndNumbersTheLines) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t targetBytes;
        std::vector<std::int64_t> firstLines;
        std::vector<std::vector<std::string>> lines;
    };
    const Case cases[] = {
        {"nothing", "", 10, {}, {}},
        {"one chunk", "ab\r\ncd\r\n", 100, {1}, {{"ab", "cd"}}},
        {"a line at a time", "ab\r\ncd\nef", 1, {1, 2, 3}, {{"ab"}, {"cd"}, {"ef"}}},
        {"a terminator counts as bytes", "\r\n\r\nab\r\n", 2, {1, 2, 3}, {{""}, {""}, {"ab"}}},
        {"the line the target cuts comes with the next chunk",
         "abc\nde\nf\nghij\n",
         5,
         {1, 2, 4},
         {{"abc"}, {"de", "f"}, {"ghij"}}},
        {"a line longer than the target", "abcdefghij\nk\n", 3, {1, 2}, {{"abcdefghij"}, {"k"}}},
    };
    for (const Case& test : cases) {
        const Chunked chunked = ChunkAll(test.bytes, test.targetBytes);
        EXPECT_EQ(chunked.firstLines, test.firstLines) << test.what;
        EXPECT_EQ(chunked.lines, test.lines) << test.what;
    }
}

TEST(LineChunkTest, EmptyLinesFillAChunkUpToItsMostLines) {
    const std::size_t lines = kMaxChunkLines * 2 + 100;
    const Chunked chunked = ChunkAll(std::string(lines, '\n') + "last", kDefaultChunkBytes);
    const auto most = static_cast<std::int64_t>(kMaxChunkLines);
    EXPECT_EQ(chunked.firstLines, (std::vector<std::int64_t>{1, most + 1, 2 * most + 1}));
    ASSERT_EQ(chunked.lines.size(), 3u);
    EXPECT_EQ(chunked.lines[2].size(), 101u);
    EXPECT_EQ(chunked.lines[2].back(), "last");
}

}  // namespace
}  // namespace talveron
