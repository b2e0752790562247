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
    return static_cast<Integer>(std::clamp(value, double{std::numeric_limits<Integer>::min()},
                                           double{std::numeric_limits<Integer>::max()}));
}

std::string ReadVerbatim(const IniDocument& results, std::string_view section,
                         std::string_view key) {
    return std::string(results.verbatim(section, key).value_or(kMissing));
}

}  // namespace

ResultsFinding ReadFinding(const IniDocument& results, int number) {
    const std::string section = std::to_string(number);
    ResultsFinding finding;
    finding.line = ReadWhole<std::int32_t>(results, section, "Line");
    finding.column = ReadWhole<std::int16_t>(results, section, "Col");
    finding.character = ReadWhole<std::int16_t>(results, section, "Char");
    finding.message = ReadVerbatim(results, section, "Msg");
    finding.record = ReadVerbatim(results, section, "Data");
    finding.type = finding.line == 1 ? "H" : ReadProfileValue(results, section, "Type", kMissing);
    finding.level = ReadProfileValue(results, section, "Level", kMissing);
    finding.total = ReadWhole<std::int16_t>(results, "ERROR", "COUNT");
    return finding;
}

}  // namespace talveron
