#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace talveron {

/// Why the outputs of the load files may not go into `folder` (--output-dir): it is no folder
/// that can be opened, an output would replace a load file of the command, or two different load
/// files would write the same output there. Empty when they may. Load files that cannot be
/// found are left to their own runs.
std::string OutputFolderRefusal(const std::filesystem::path& folder,
                                std::span<const std::filesystem::path> loadFiles);

}  // namespace talveron
