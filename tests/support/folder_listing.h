#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace talveron::testing {

/// A file's bytes, read whole at once (outputs of long lines are large).
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

/// Everything under a folder but the skipped paths, by relative path: a file's bytes,
/// "<folder>", "<link to TARGET>" (never followed) or "<special>" (a FIFO is not opened).
using Listing = std::map<std::string, std::string>;

inline Listing ListFolder(const std::filesystem::path& root,
                          const std::vector<std::filesystem::path>& skipped = {}) {
    namespace fs = std::filesystem;
    Listing listing;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (std::find(skipped.begin(), skipped.end(), entry.path()) != skipped.end()) continue;
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_symlink()) {
            listing[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
        } else if (entry.is_directory()) {
            listing[name] = "<folder>";
        } else if (entry.is_regular_file()) {
            listing[name] = FileBytes(entry.path());
        } else {
            listing[name] = "<special>";
        }
    }
    return listing;
}

}  // namespace talveron::testing
