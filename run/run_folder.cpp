#include "run/run_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace talveron {

Status RunFolder::Open(const std::filesystem::path& loadPath, RunFolder& folder) {
    const std::string name = loadPath.filename().string();
    if (name.empty() || name == "." || name == "..") {
        return Status::Error(Status::Code::Refused,
                             "Refusing " + QuotedPath(loadPath) +
                                 (loadPath.empty() ? ": an empty name is not a load file"
                                                   : ": it names a folder, not a load file"));
    }
    std::error_code error;
    // Made absolute without normalising: "link/../x.dat" must leave the link's target.
    const std::filesystem::path absolute = std::filesystem::absolute(loadPath, error);
    if (error) {
        return Status::Error(Status::Code::ReadFailed, "Cannot read " + QuotedPath(loadPath) +
                                                           ": the current folder is gone (" +
                                                           error.message() + ")");
    }
    const std::filesystem::path parent = absolute.parent_path();
    FileDescriptor descriptor(::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!descriptor.valid() || ::fstat(descriptor.get(), &info) != 0) {
        const int reason = errno;
        return Status::Error(reason == ENOENT ? Status::Code::NotFound : Status::Code::ReadFailed,
                             "Cannot read " + QuotedPath(loadPath) + ": " + std::strerror(reason));
    }
    folder.descriptor_ = std::move(descriptor);
    folder.identity_ = {info.st_dev, info.st_ino};
    folder.loadName_ = name;
    // The folder the descriptor holds, as the kernel names it; the lexical form only when the
    // process table cannot tell.
    folder.path_ = std::filesystem::read_symlink(
        "/proc/self/fd/" + std::to_string(folder.descriptor_.get()), error);
    if (error) folder.path_ = parent.lexically_normal();
    return Status::Ok();
}

}  // namespace talveron
