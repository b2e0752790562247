#include "ui/finding_reader.h"

#include <algorithm>
#include <limits>

#include "config/number.h"

namespace talveron {

namespace {

constexpr std::string_view kMissing = "0";

template <typename Integer>
Integer ReadWhole(const IniDocument& results, std::string_view section, std::string_view key) {
    const double value =
        RoundHalfEven(ParseNumber(ReadProfileValue(results, section, key, kMissing)));
    // The largest double below 2^63 keeps the conversion of a clamped value defined.
    constexpr double kHighest =
        std::min(static_cast<double>(std::numeric_limits<Integer>::max()), 0x1.fffffffffffffp62);
    return static_cast<Integer>(
        std::clamp(value, static_cast<double>(std::numeric_limits<Integer>::min()), kHighest));
}

std::string ReadVerbatim(const IniDocument& results, std::string_view section,
                         std::string_view key) {
    return std::string(results.verbatim(section, key).value_or(kMissing));
}

}  // namespace

ResultsFinding ReadFinding(const IniDocument& results, std::int64_t number) {
    const std::string section = std::to_string(number);
    ResultsFinding finding;
    finding.line = ReadWhole<std::int64_t>(results, section, "Line");
    finding.column = ReadWhole<std::int32_t>(results, section, "Col");
    finding.character = ReadWhole<std::int32_t>(results, section, "Char");
    finding.message = ReadVerbatim(results, section, "Msg");
    finding.record = ReadVerbatim(results, section, "Data");
    finding.type = finding.line == 1 ? "H" : ReadProfileValue(results, section, "Type", kMissing);
    finding.level = ReadProfileValue(results, section, "Level", kMissing);
    return finding;
}

std::int64_t ReadFindingCount(const IniDocument& results) {
    return ReadWhole<std::int64_t>(results, "ERROR", "COUNT");
}

}  // namespace talveron
