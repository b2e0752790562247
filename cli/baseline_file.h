#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <string>
#include <vector>

#include "cli/finding_printer.h"
#include "report/finding_identity.h"

namespace talveron {

/// A finding of the earlier run, as its --format json line holds it.
struct EarlierFinding {
    std::int64_t line = 0;
    char recordType = 0;
    std::int32_t field = 0;
    std::string fieldName;
    std::int32_t character = 0;
    std::int32_t spanFirst = 0;
    std::int32_t spanLast = 0;
    OptionKey code = OptionKey::IRT;
    Level level = Level::Error;
    Level writtenLevel = Level::Error;
    std::string message;
    std::string value;
    std::string idType;
    std::string employeeId;
    std::string monitoringStart;
    std::string monitoringEnd;

    /// The finding as printed, Fixed; views into this finding.
    PrintedFinding printed() const;
};

/// The findings of one load file in the earlier run's output, in its file order.
struct EarlierFile {
    std::filesystem::path load;  ///< the load path its summary names
    bool masked = false;         ///< its personal data was printed masked
    std::vector<EarlierFinding> findings;

    /// The digests of the findings' identities, in order; SSN Employee_IDs as masking shows them
    /// when the file was printed masked.
    std::vector<IdentityDigest> digests() const;
};

/// Reads the output of an earlier `talveron-cli --format json` run: its findings up to each
/// summary line belong to the file that summary names. Findings of a comparison that were
/// printed as fixed belong to no run and are skipped. Returns an empty text, or why the input
/// is not such an output ("line 3: ...").
std::string ReadBaseline(std::istream& in, std::vector<EarlierFile>& files);

/// The earlier file each load file is compared with, in the order of `loadFiles`: the one of the
/// same file name, or, when both hold one file, that one whatever its name; null for a load file
/// with none (all its findings are new). Returns an empty text, or why a load file cannot be
/// paired (two earlier files of its name).
std::string PairWithBaseline(std::span<const EarlierFile> files,
                             std::span<const std::filesystem::path> loadFiles,
                             std::vector<const EarlierFile*>& pairs);

}  // namespace talveron
