#include "ui/finding_search.h"

namespace talveron {

namespace {

constexpr std::int64_t kProgressEvery = 4096;

}  // namespace

std::optional<std::int64_t> FindNextFinding(FindingSource& source, std::int64_t from,
                                            const ResultsFinding& like, FindingMatch match,
                                            const SearchProgress& progress) {
    for (std::int64_t number = std::max<std::int64_t>(from, 0) + 1; number <= source.total();
         ++number) {
        if (number % kProgressEvery == 0 && progress && !progress(number)) return std::nullopt;
        const ResultsFinding finding = source.finding(number);
        const bool same = match == FindingMatch::SameMessage ? finding.message == like.message
                                                             : finding.line == like.line;
        if (same) return number;
    }
    return std::nullopt;
}

OperatorMessage NoLaterFindingMessage(FindingMatch match) {
    return {"Talveron Errors & Warnings",
            match == FindingMatch::SameMessage ? "No later finding has the same message."
                                               : "No later finding is on the same line.",
            MessageIcon::Information,
            {}};
}

}  // namespace talveron
