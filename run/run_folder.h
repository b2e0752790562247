#pragma once

#include <sys/types.h>

#include <compare>
#include <filesystem>
#include <string>

#include "config/file_descriptor.h"
#include "config/status.h"

namespace talveron {

/// Which file or folder a name led to when it was looked at: its device and inode.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

/// A folder of a run, opened once at its start: the load file's folder, and the folder its
/// outputs go to (the same one, unless the outputs are put elsewhere). The load file, the outputs
/// and their temporary files are all reached through it by name, so they sit in the folder the
/// path led to when the run began, whatever links are changed or folders renamed meanwhile.
class RunFolder {
public:
    /// Opens the folder of `loadPath` resolved as the kernel resolves it: links and ".." in the
    /// order they come (a ".." after a link leaves the link's target). Fails with Refused for a
    /// path that names no file (empty, or ending in "/", "." or ".."), otherwise with the
    /// system's reason; the message names the path.
    static Status Open(const std::filesystem::path& loadPath, RunFolder& folder);
    /// Opens `path` itself, resolved as the kernel resolves it, as the folder that takes the
    /// outputs of the load file `loadName`. Fails when it is no folder that can be opened (the
    /// message names the path and the system's reason).
    static Status OpenOutputs(const std::filesystem::path& path, std::string loadName,
                              RunFolder& folder);

    int descriptor() const { return descriptor_.get(); }
    /// The folder's absolute path with every link resolved.
    const std::filesystem::path& path() const { return path_; }
    /// The load file's name as the load path gave it (temporary outputs are named after it).
    const std::string& loadName() const { return loadName_; }
    FileIdentity identity() const { return identity_; }

private:
    /// Opens the folder at the absolute `path` as the folder of `loadName`; the system's error
    /// number, or 0.
    static int Take(const std::filesystem::path& path, std::string loadName, RunFolder& folder);

    FileDescriptor descriptor_;
    std::filesystem::path path_;
    std::string loadName_;
    FileIdentity identity_;
};

}  // namespace talveron
