#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "ui/finding_source.h"
#include "ui/operator_message.h"

namespace talveron {

/// What a later finding must share with the one on show.
enum class FindingMatch { SameMessage, SameLine };

/// Called every few thousand findings searched, with the number reached; false ends the search.
using SearchProgress = std::function<bool(std::int64_t number)>;

/// The first finding after `from`, up to the total, with the same message (exactly, as the
/// viewer shows it) or the same line as `like`; nullopt when there is none or `progress` ended
/// the search.
std::optional<std::int64_t> FindNextFinding(FindingSource& source, std::int64_t from,
                                            const ResultsFinding& like, FindingMatch match,
                                            const SearchProgress& progress);

/// What the viewer says when the search finds no later finding.
OperatorMessage NoLaterFindingMessage(FindingMatch match);

}  // namespace talveron
