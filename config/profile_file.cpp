#include "config/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include "config/file_descriptor.h"

namespace talveron {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP
constexpr mode_t kNewFilePermissions = 0644;

std::string Reason(int error) { return std::generic_category().message(error); }

Status ReadError(Status::Code code, const fs::path& path, const std::string& reason) {
    return Status::Error(code, "Cannot read " + QuotedPath(path) + ": " + reason);
}

Status WriteError(const fs::path& path, const std::string& reason) {
    return Status::Error(Status::Code::WriteFailed,
                         "Cannot write " + QuotedPath(path) + ": " + reason);
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::string path_;
};

fs::path UsableDirectory(const char* value) {
    if (value == nullptr || *value == '\0') return {};
    fs::path directory(value);
    return directory.is_absolute() ? directory : fs::path();
}

// The file a path finally designates, following symbolic links (also dangling ones, whose target
// is then created).
fs::path FinalTarget(const fs::path& path, std::error_code& error) {
    fs::path target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ignored;  // a missing file is no link; other failures show when writing
        if (!fs::is_symlink(fs::symlink_status(target, ignored))) return target;
        const fs::path link = fs::read_symlink(target, error);
        if (error) return {};
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

// No write permission for anyone: the owner protected the file. Checked on the mode bits, as the
// superuser's writes are not refused by the system.
bool IsReadOnly(const fs::path& target) {
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

bool WriteAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads the rest of the file into `text`; false, with errno set, when a read fails.
bool ReadAll(int descriptor, std::string& text) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) return true;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

// Replaces the file's bytes without replacing the file, so that its owner, group and mode stay;
// on failure the old bytes are written back.
Status RewriteInPlace(const fs::path& target, std::string_view text) {
    const FileDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (!file.valid()) return WriteError(target, Reason(errno));
    std::string old;
    if (!ReadAll(file.get(), old)) return WriteError(target, Reason(errno));
    const auto replace = [&](std::string_view bytes) {
        return ::lseek(file.get(), 0, SEEK_SET) == 0 && WriteAll(file.get(), bytes) &&
               ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0 &&
               ::fsync(file.get()) == 0;
    };
    if (replace(text)) return Status::Ok();
    const int error = errno;
    (void)replace(old);
    return WriteError(target, Reason(error));
}

// Makes the rename itself durable. The new file is already in place, so a failure here only
// weakens durability and is not reported.
void SyncDirectory(const fs::path& directory) {
    const FileDescriptor handle(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.valid()) ::fsync(handle.get());
}

}  // namespace

fs::path ConfigurationDirectory(const std::function<const char*(const char*)>& environment) {
    if (fs::path base = UsableDirectory(environment("XDG_CONFIG_HOME")); !base.empty()) {
        return base / "talveron";
    }
    if (fs::path home = UsableDirectory(environment("HOME")); !home.empty()) {
        return home / ".config" / "talveron";
    }
    return {};
}

fs::path StateDirectory(const std::function<const char*(const char*)>& environment) {
    if (fs::path base = UsableDirectory(environment("XDG_STATE_HOME")); !base.empty()) {
        return base / "talveron";
    }
    if (fs::path home = UsableDirectory(environment("HOME")); !home.empty()) {
        return home / ".local" / "state" / "talveron";
    }
    return {};
}

Status LoadIniFile(const fs::path& path, IniDocument& document) {
    // O_NONBLOCK: opening a FIFO that has no writer must not hang; reads block again below.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        const int error = errno;
        return ReadError(error == ENOENT ? Status::Code::NotFound : Status::Code::ReadFailed, path,
                         Reason(error));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return ReadError(Status::Code::ReadFailed, path, Reason(errno));
    if (S_ISDIR(info.st_mode)) return ReadError(Status::Code::NotAFile, path, Reason(EISDIR));
    // A device such as /dev/zero never ends, a FIFO's writer may never close it.
    if (!S_ISREG(info.st_mode)) {
        return ReadError(Status::Code::NotAFile, path, "it is not a regular file");
    }
    if (::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK) != 0)
        return ReadError(Status::Code::ReadFailed, path, Reason(errno));
    std::string text;
    if (!ReadAll(file.get(), text)) return ReadError(Status::Code::ReadFailed, path, Reason(errno));
    document = IniDocument(std::move(text));
    return Status::Ok();
}

Status SaveIniFileAtomically(const fs::path& path, const IniDocument& document) {
    std::error_code linkError;
    const fs::path target = FinalTarget(path, linkError);
    if (linkError) return WriteError(path, linkError.message());
    if (IsReadOnly(target)) return WriteError(target, "the file is read-only");
    fs::path directory = target.parent_path();
    if (directory.empty()) directory = ".";

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    std::string pattern = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor file(::mkstemp(pattern.data()));
    if (!file.valid()) {
        // A folder the user may not create files in, yet a file they may write: edit in place.
        return exists && errno == EACCES ? RewriteInPlace(target, document.text())
                                         : WriteError(target, Reason(errno));
    }
    TemporaryFile temporary(pattern);
    if (::fchmod(file.get(), exists ? old.st_mode & 0777 : kNewFilePermissions) != 0)
        return WriteError(target, Reason(errno));
    // A shared file keeps its owner and group; where the new file cannot carry them, the old
    // file is rewritten in place instead.
    if (exists && ::fchown(file.get(), old.st_uid, old.st_gid) != 0) {
        return RewriteInPlace(target, document.text());
    }
    if (!WriteAll(file.get(), document.text()) || ::fsync(file.get()) != 0 || !file.close() ||
        ::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return WriteError(target, Reason(errno));
    }
    temporary.release();
    SyncDirectory(directory);
    return Status::Ok();
}

Status WriteProfileValue(const fs::path& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    IniDocument document;
    if (Status loaded = LoadIniFile(path, document);
        !loaded.ok() && loaded.code() != Status::Code::NotFound) {
        return loaded;
    }
    WriteProfileValue(document, section, key, value);
    return SaveIniFileAtomically(path, document);
}

}  // namespace talveron
