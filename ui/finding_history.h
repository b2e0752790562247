#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

#include "config/status.h"
#include "report/finding_identity.h"

namespace talveron {

/// The most findings kept of one run; a run with more keeps none, as a comparison with part of
/// them would call findings new that are not.
inline constexpr std::size_t kMaxKeptFindings = 250'000;

/// The most load files whose findings are kept; the least recently validated go first.
inline constexpr std::size_t kMaxKeptLoadFiles = 32;

/// Writes the findings of a run of `loadPath` as the history keeps them: a line
/// "talveron-findings 1", the load path, the count, then the digests, 8 bytes each (little
/// endian), in file order.
void WriteFindingHistory(std::ostream& out, std::string_view loadPath,
                         std::span<const IdentityDigest> digests);

/// The digests written by WriteFindingHistory for `loadPath`; nullopt when `in` holds anything
/// else (another load path, more than kMaxKeptFindings, cut short or run on).
std::optional<std::vector<IdentityDigest>> ReadFindingHistory(std::istream& in,
                                                              std::string_view loadPath);

/// The findings of the last run of each load file, one small file per load file in the state
/// folder (never next to the load file), so that a run can be compared with the one before.
class FindingHistory {
public:
    /// `stateDirectory` empty: nothing is kept.
    explicit FindingHistory(std::filesystem::path stateDirectory)
        : directory_(std::move(stateDirectory)) {}

    /// The digests of the last run kept for the load file; nullopt when none is kept or its file
    /// does not read as one (a damaged file counts as none).
    std::optional<std::vector<IdentityDigest>> load(const std::filesystem::path& loadFile) const;

    /// Keeps the digests of a run of the load file in place of the last; more than
    /// kMaxKeptFindings forget the load file instead. Removes the files of the load files
    /// validated least recently beyond kMaxKeptLoadFiles.
    Status save(const std::filesystem::path& loadFile, std::span<const IdentityDigest> digests);

private:
    std::filesystem::path fileOf(const std::filesystem::path& loadFile) const;
    void prune() const;

    std::filesystem::path directory_;
};

}  // namespace talveron
