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

Chunked ChunkAll(const std::string& bytes, std::size_t targetBytes, std::size_t readerChunk) {
    std::istringstream input(bytes);
    LineReader reader(input, readerChunk);
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
        // Empty lines add no bytes: they join the chunk until a line with bytes fills it.
        {"empty lines", "\r\n\r\nab\r\n\r\ncd", 1, {1, 4}, {{"", "", "ab"}, {"", "cd"}}},
        {"the target is reached, not exceeded by whole lines",
         "abc\nde\nf\nghij\n",
         5,
         {1, 3},
         {{"abc", "de"}, {"f", "ghij"}}},
        {"a line longer than the target", "abcdefghij\nk\n", 3, {1, 2}, {{"abcdefghij"}, {"k"}}},
    };
    for (const Case& test : cases) {
        for (std::size_t readerChunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            const Chunked chunked = ChunkAll(test.bytes, test.targetBytes, readerChunk);
            EXPECT_EQ(chunked.firstLines, test.firstLines) << test.what << ", " << readerChunk;
            EXPECT_EQ(chunked.lines, test.lines) << test.what << ", " << readerChunk;
        }
    }
}

}  // namespace
}  // namespace talveron
