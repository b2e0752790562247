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

/// The folder of a load file, opened once at the start of a run. The load file, the outputs and
/// their temporary files are all reached through it by name, so they sit in the folder the load
/// path led to when the run began, whatever links are changed or folders renamed meanwhile.
class RunFolder {
public:
    /// Opens the folder of `loadPath` resolved as the kernel resolves it: links and ".." in the
    /// order they come (a ".." after a link leaves the link's target). Fails with Refused for a
    /// path that names no file (empty, or ending in "/", "." or ".."), otherwise with the
    /// system's reason; the message names the path.
    static Status Open(const std::filesystem::path& loadPath, RunFolder& folder);

    int descriptor() const { return descriptor_.get(); }
    /// The folder's absolute path with every link resolved.
    const std::filesystem::path& path() const { return path_; }
    /// The load file's name as the load path gave it.
    const std::string& loadName() const { return loadName_; }
    FileIdentity identity() const { return identity_; }

private:
    FileDescriptor descriptor_;
    std::filesystem::path path_;
    std::string loadName_;
    FileIdentity identity_;
};

}  // namespace talveron
