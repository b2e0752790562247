#pragma once

#include <filesystem>
#include <string>

namespace talveron {

/// The three files of a run: the load file and the two outputs derived from it.
struct RunPaths {
    std::filesystem::path load;
    std::filesystem::path results;  ///< "*.err"
    std::filesystem::path report;   ///< "*.dst"

    /// An output path that equals the load path: such a file is refused, nothing is deleted.
    bool collides() const { return results == load || report == load; }
};

/// The output path of a load path: the path cut before the first "." of its file name (folders
/// with dots in their names are left alone), followed by the extension (".err" or ".dst").
std::filesystem::path DeriveOutputPath(const std::filesystem::path& loadPath,
                                       std::string_view extension);

RunPaths DeriveRunPaths(const std::filesystem::path& loadPath);

}  // namespace talveron
