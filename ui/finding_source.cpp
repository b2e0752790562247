#include "ui/finding_source.h"

namespace talveron {

ResultsFinding FindingSource::finding(std::int64_t number) {
    const std::optional<std::uint64_t> offset = index_.offsetOf(number);
    return ReadFinding(offset ? IniDocument(std::string(reader_.section(*offset))) : IniDocument(),
                       number);
}

}  // namespace talveron
