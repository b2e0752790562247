#include "run/run_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace talveron {

int RunFolder::Take(const std::filesystem::path& path, std::string loadName, RunFolder& folder) {
    FileDescriptor descriptor(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!descriptor.valid() || ::fstat(descriptor.get(), &info) != 0) return errno;
    folder.descriptor_ = std::move(descriptor);
    folder.identity_ = {info.st_dev, info.st_ino};
    folder.loadName_ = std::move(loadName);
    // The folder the descriptor holds, as the kernel names it; the lexical form only when the
    // process table cannot tell.
    std::error_code error;
    folder.path_ = std::filesystem::read_symlink(
        "/proc/self/fd/" + std::to_string(folder.descriptor_.get()), error);
    if (error) folder.path_ = path.lexically_normal();
    return 0;
}

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
    if (const int reason = Take(absolute.parent_path(), name, folder); reason != 0) {
        return Status::Error(reason == ENOENT ? Status::Code::NotFound : Status::Code::ReadFailed,
                             "Cannot read " + QuotedPath(loadPath) + ": " + std::strerror(reason));
    }
    return Status::Ok();
}

Status RunFolder::OpenOutputs(const std::filesystem::path& path, std::string loadName,
                              RunFolder& folder) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const int reason = error ? error.value() : Take(absolute, std::move(loadName), folder);
    if (reason == 0) return Status::Ok();
    return Status::Error(reason == ENOENT    ? Status::Code::NotFound
                         : reason == ENOTDIR ? Status::Code::NotAFile
                                             : Status::Code::WriteFailed,
                         "Cannot write to " + QuotedPath(path) + ": " + std::strerror(reason));
}

}  // namespace talveron
