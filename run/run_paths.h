#pragma once

#include <filesystem>
#include <string>

namespace talveron {

/// Where a run puts its two outputs.
struct OutputPlace {
    enum class Kind {
        BesideLoadFile,  ///< in the load file's folder
        Folder,          ///< in `folder`, an existing folder; nothing beside the load file
        Nowhere,         ///< no file at all
    };
    Kind kind = Kind::BesideLoadFile;
    std::filesystem::path folder;
};

/// The three files of a run: the load file and the two outputs derived from it.
struct RunPaths {
    std::filesystem::path load;
    std::filesystem::path results;  ///< "*.err"; empty when the run writes no output
    std::filesystem::path report;   ///< "*.dst"; empty when the run writes no output

    /// An output path that equals the load path: such a file is refused, nothing is deleted.
    bool collides() const { return results == load || report == load; }
};

/// The output path of a load path: the path cut before the first "." of its file name (folders
/// with dots in their names are left alone), followed by the extension (".err" or ".dst").
std::filesystem::path DeriveOutputPath(const std::filesystem::path& loadPath,
                                       std::string_view extension);

RunPaths DeriveRunPaths(const std::filesystem::path& loadPath);

/// The same outputs, by name, in another folder.
RunPaths WithOutputsIn(RunPaths paths, const std::filesystem::path& folder);

}  // namespace talveron
