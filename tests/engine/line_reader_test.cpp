#include "engine/line_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace talveron {
namespace {

using Lines = std::vector<std::string>;

Lines ReadAll(std::istream& input, std::size_t chunkSize) {
    LineReader reader(input, chunkSize);
    Lines lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    return lines;
}

Lines ReadAll(const std::string& bytes, std::size_t chunkSize) {
    std::istringstream input(bytes);
    return ReadAll(input, chunkSize);
}

struct FramingCase {
    const char* what;
    std::string bytes;
    Lines expected;
};

class LineFramingTest : public testing::TestWithParam<FramingCase> {};

// Chunk sizes down to one byte put every terminator, and a CR LF pair, across a chunk boundary.
TEST_P(LineFramingTest, FramesTheSameWhateverTheChunkSize) {
    for (const std::size_t chunkSize :
         {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5}, std::size_t{1} << 20}) {
        SCOPED_TRACE("chunk size " + std::to_string(chunkSize));
        EXPECT_EQ(ReadAll(GetParam().bytes, chunkSize), GetParam().expected) << GetParam().what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Terminators, LineFramingTest,
    testing::Values(FramingCase{"empty input", "", Lines{}},
                    FramingCase{"no terminator", "ab", Lines{"ab"}},
                    FramingCase{"CR LF at the end adds no line", "ab\r\n", Lines{"ab"}},
                    FramingCase{"LF at the end", "ab\n", Lines{"ab"}},
                    FramingCase{"CR at the end", "ab\r", Lines{"ab"}},
                    FramingCase{"CR LF", "ab\r\ncd\r\n", Lines{"ab", "cd"}},
                    FramingCase{"LF only", "ab\ncd\n", Lines{"ab", "cd"}},
                    FramingCase{"CR only", "ab\rcd\r", Lines{"ab", "cd"}},
                    FramingCase{"last line unterminated", "ab\r\ncd", Lines{"ab", "cd"}},
                    FramingCase{"empty line between CR LF", "ab\r\n\r\ncd", Lines{"ab", "", "cd"}},
                    FramingCase{"empty line between LF", "ab\n\ncd", Lines{"ab", "", "cd"}},
                    FramingCase{"empty line between CR", "ab\r\rcd", Lines{"ab", "", "cd"}},
                    FramingCase{"LF then CR is two ends", "ab\n\rcd", Lines{"ab", "", "cd"}},
                    FramingCase{"mixed terminators", "a\r\nb\nc\rd", Lines{"a", "b", "c", "d"}},
                    FramingCase{"one empty line", "\r\n", Lines{""}},
                    FramingCase{"two empty lines", "\r\n\r\n", Lines{"", ""}},
                    FramingCase{"a lone LF", "\n", Lines{""}},
                    FramingCase{"CR LF then LF", "ab\r\n\n", Lines{"ab", ""}},
                    FramingCase{"blanks are kept", "  ab  \r\n", Lines{"  ab  "}},
                    FramingCase{"bytes pass unchanged", std::string("x\0y\t\xff\x1a", 6),
                                Lines{std::string("x\0y\t\xff\x1a", 6)}}));

TEST(LineReaderTest, ALineLongerThanTheChunkComesWhole) {
    const std::string longLine(100'000, 'q');
    EXPECT_EQ(ReadAll(longLine + "\r\nb\r\n", 4096), (Lines{longLine, "b"}));
    EXPECT_EQ(ReadAll("a\r\n" + longLine, 4096), (Lines{"a", longLine}));
}

/// The framing rule spelled out byte by byte, to compare the reader with.
Lines FrameByHand(const std::string& bytes) {
    Lines lines;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            current += c;
            continue;
        }
        lines.push_back(current);
        current.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

TEST(LineReaderTest, AgreesWithTheRuleOnRandomMixesOfLineEnds) {
    std::mt19937 random(41);
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<std::size_t> length(0, 60);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        for (std::size_t n = length(random); n > 0; --n) bytes += "ab\r\n"[pick(random)];
        const Lines expected = FrameByHand(bytes);
        for (const std::size_t chunkSize : {std::size_t{1}, std::size_t{2}, std::size_t{3},
                                            std::size_t{7}, std::size_t{1} << 16}) {
            ASSERT_EQ(ReadAll(bytes, chunkSize), expected)
                << "chunk size " << chunkSize << ", input " << ::testing::PrintToString(bytes);
        }
    }
}

TEST(LineReaderTest, ReachingTheEndIsNotAFailure) {
    std::istringstream input("a\r\nb");
    LineReader reader(input, 2);
    std::string_view line;
    while (reader.next(line)) {
    }
    EXPECT_FALSE(reader.failed());
    EXPECT_FALSE(reader.next(line));
}

struct LimitCase {
    const char* what;
    std::string bytes;
    Lines expected;  ///< the lines delivered before the reader stops
    bool tooLong;
};

class LineLimitTest : public testing::TestWithParam<LimitCase> {};

// A limit of 4 bytes stands for the 16 MiB of a run.
TEST_P(LineLimitTest, ALineOverTheLimitStopsTheReader) {
    for (const std::size_t chunkSize :
         {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20}) {
        SCOPED_TRACE("chunk size " + std::to_string(chunkSize));
        std::istringstream input(GetParam().bytes);
        LineReader reader(input, chunkSize, 4);
        Lines lines;
        std::string_view line;
        while (reader.next(line)) lines.emplace_back(line);
        EXPECT_EQ(lines, GetParam().expected) << GetParam().what;
        EXPECT_EQ(reader.tooLong(), GetParam().tooLong) << GetParam().what;
        EXPECT_FALSE(reader.failed());
        EXPECT_FALSE(reader.next(line)) << "a stopped reader reads on";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LineLimitTest,
    testing::Values(
        LimitCase{"lines at the limit", "abcd\r\nefgh\nijkl", Lines{"abcd", "efgh", "ijkl"}, false},
        LimitCase{"a long first line", "abcde\r\nf\r\n", Lines{}, true},
        LimitCase{"a long line after short ones", "ab\rcd\nabcdefgh\r\nx\r\n", Lines{"ab", "cd"},
                  true},
        LimitCase{"a long last line without a terminator", "ab\r\nabcde", Lines{"ab"}, true},
        LimitCase{"terminators do not count", "abcd\r\n\r\nabcd\r", Lines{"abcd", "", "abcd"},
                  false}));

TEST(LineReaderTest, CountsTheBytesItReads) {
    const std::string bytes = "ab\r\ncd\ref\n\r\nlast";
    for (const std::size_t chunkSize : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
        std::istringstream input(bytes);
        LineReader reader(input, chunkSize);
        EXPECT_EQ(reader.bytesRead(), 0u);
        std::string_view line;
        while (reader.next(line)) {
        }
        EXPECT_EQ(reader.bytesRead(), bytes.size()) << "chunk size " << chunkSize;
    }
}

/// Delivers its text, then fails the way a disk read error does.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override { throw std::runtime_error("read error"); }

private:
    std::string text_;
};

TEST(LineReaderTest, AReadErrorEndsTheLinesAndIsReported) {
    FailingBuffer buffer("ab\r\ncd");
    std::istream input(&buffer);
    LineReader reader(input, 4);
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "ab");
    // "cd" was cut short by the error: it is not delivered as a line.
    EXPECT_FALSE(reader.next(line));
    EXPECT_TRUE(reader.failed());
}

TEST(LineReaderTest, AnInputThatFailsAtOnceGivesNoLine) {
    FailingBuffer buffer("");
    std::istream input(&buffer);
    LineReader reader(input);
    std::string_view line;
    EXPECT_FALSE(reader.next(line));
    EXPECT_TRUE(reader.failed());
}

}  // namespace
}  // namespace talveron
