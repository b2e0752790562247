#include "run/results_file.h"

#include <algorithm>
#include <charconv>

#include "engine/record_type.h"

namespace talveron {

namespace {

/// The most characters a 64-bit number takes, its sign included.
constexpr std::size_t kNumberWidth = 20;

char* Put(char* at, std::string_view text) {
    // copy_n, not memcpy: an empty view may have no data at all.
    return std::copy_n(text.data(), text.size(), at);
}

char* PutNumber(char* at, std::int64_t value) {
    return std::to_chars(at, at + kNumberWidth, value).ptr;
}

}  // namespace

void AppendFindingSectionNumber(std::string& out, std::int64_t number) {
    char text[3 + kNumberWidth] = {'\r', '\n', '['};
    out.append(text, PutNumber(text + 3, number));
}

std::size_t AppendFindingSectionHead(std::string& out, const Finding& finding) {
    constexpr std::string_view kLine = "]\r\nLine=", kCol = "\r\nCol=", kChar = "\r\nChar=",
                               kMsg = "\r\nMsg=", kData = "\r\nData=";
    constexpr std::size_t kKeys =
        kLine.size() + kCol.size() + kChar.size() + kMsg.size() + kData.size();
    // Sized once for the longest it can be, written in place, then cut to what was written: a
    // section costs a few copies instead of a dozen appends.
    const std::size_t start = out.size();
    out.resize(start + kKeys + 3 * kNumberWidth + finding.message.size());
    char* at = out.data() + start;
    at = PutNumber(Put(at, kLine), finding.lineNumber);
    at = PutNumber(Put(at, kCol), finding.column);
    at = Put(PutNumber(Put(at, kChar), finding.character), kMsg);
    const auto message = static_cast<std::size_t>(at - out.data());
    at = Put(Put(at, finding.message), kData);
    out.resize(static_cast<std::size_t>(at - out.data()));
    return message;
}

void AppendFindingSectionTail(std::string& out, const Finding& finding) {
    const std::string_view type =
        finding.headerType ? std::string_view("H") : StatedRecordType(finding.record);
    out.append("\r\nType=").append(type).append("\r\nLevel=").append(LevelText(finding.level));
    out.append("\r\n");
}

void AppendResultsTrailer(std::string& out, std::int64_t count) {
    char digits[kNumberWidth];
    out += "[ERROR]\r\nCount=";
    out.append(digits, PutNumber(digits, count));
    out += "\r\n";
}

}  // namespace talveron
