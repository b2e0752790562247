#include "run/results_file.h"

#include <charconv>

#include "engine/record_type.h"

namespace talveron {

namespace {

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value;
    out += "\r\n";
}

void AppendNumberLine(std::string& out, std::string_view key, std::int64_t value) {
    out += key;
    AppendNumber(out, value);
    out += "\r\n";
}

}  // namespace

void AppendFindingSection(std::string& out, std::int64_t number, const Finding& finding) {
    out += "\r\n[";
    AppendNumber(out, number);
    out += "]\r\n";
    AppendNumberLine(out, "Line=", finding.lineNumber);
    AppendNumberLine(out, "Col=", finding.column);
    AppendNumberLine(out, "Char=", finding.character);
    AppendLine(out, "Msg=", finding.message);
    AppendLine(out, "Data=", finding.record);
    AppendLine(out, "Type=", finding.headerType ? "H" : StatedRecordType(finding.record));
    AppendLine(out, "Level=", LevelText(finding.level));
}

void AppendResultsTrailer(std::string& out, std::int64_t count) {
    out += "[ERROR]\r\n";
    AppendNumberLine(out, "Count=", count);
}

}  // namespace talveron
