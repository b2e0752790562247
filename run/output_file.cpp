#include "run/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace talveron {

namespace {

constexpr std::size_t kFlushThreshold = 256 * 1024;
/// Written bytes are handed to the disk in steps of this size while the run goes on, so that the
/// flush to disk at the end of a large output waits for little more than the last step.
constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} << 20;
constexpr std::string_view kTemporaryMark = ".talveron-";
/// "err-" or "dst-" and six random characters follow the prefix.
constexpr std::size_t kTemporarySuffixLength = 10;
constexpr std::size_t kMaxNameLength = 255;

std::string RandomSuffix() {
    static constexpr std::string_view kAlphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string suffix(6, ' ');
    for (char& c : suffix) c = kAlphabet[random() % kAlphabet.size()];
    return suffix;
}

bool IsTemporarySuffix(std::string_view rest) {
    return rest.size() == kTemporarySuffixLength &&
           (rest.starts_with("err-") || rest.starts_with("dst-"));
}

}  // namespace

std::string TemporaryOutputPrefix(std::string_view loadName) {
    const std::size_t room = kMaxNameLength - 1 - kTemporaryMark.size() - kTemporarySuffixLength;
    std::string prefix(1, '.');
    prefix.append(loadName.substr(0, room)).append(kTemporaryMark);
    return prefix;
}

OutputFile::OutputFile(const RunFolder* folder, std::string name, std::string_view kind,
                       TemporaryFileList* temporaries)
    : folder_(folder),
      name_(std::move(name)),
      temporaryPrefix_(folder ? TemporaryOutputPrefix(folder->loadName()) + std::string(kind) + "-"
                              : std::string()),
      temporaries_(temporaries) {}

OutputFile::~OutputFile() { discard(); }

void OutputFile::fail(const char* what, int error) {
    if (!status_.ok()) return;
    status_ = Status::Error(Status::Code::WriteFailed, std::string("Cannot ") + what + " " +
                                                           QuotedPath(folder_->path() / name_) +
                                                           ": " + std::strerror(error));
}

void OutputFile::open() {
    opened_ = true;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryPrefix_ + RandomSuffix();
        // Listed before it exists, so that an interrupt at any moment finds it.
        if (temporaries_) listed_ = temporaries_->add((folder_->path() / name).string());
        // O_EXCL: a name someone else put there, link or not, is never opened.
        descriptor_ =
            FileDescriptor(::openat(folder_->descriptor(), name.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        const int error = errno;
        if (descriptor_.valid()) {
            temporaryName_ = name;
            return;
        }
        unlist();
        if (error != EEXIST) {
            fail("create", error);
            return;
        }
    }
    fail("create", EEXIST);
}

void OutputFile::append(std::string_view bytes) {
    if (folder_ == nullptr) return;
    if (!opened_) open();
    if (!descriptor_.valid()) return;
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushThreshold) flush();
}

void OutputFile::flush() {
    std::string_view rest = buffer_;
    while (descriptor_.valid() && !rest.empty()) {
        const ssize_t count = ::write(descriptor_.get(), rest.data(), rest.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            fail("write", errno);
            descriptor_ = FileDescriptor();
            break;
        }
        rest.remove_prefix(static_cast<std::size_t>(count));
        written_ += static_cast<std::uint64_t>(count);
    }
    buffer_.clear();
    if (descriptor_.valid() && written_ - handedToDisk_ >= kWriteBackStep) {
        // Only starts the writing; finish() still waits for all of it. A failure here is found
        // again by that wait.
        (void)::sync_file_range(descriptor_.get(), static_cast<off_t>(handedToDisk_),
                                static_cast<off_t>(written_ - handedToDisk_),
                                SYNC_FILE_RANGE_WRITE);
        handedToDisk_ = written_;
    }
}

Status OutputFile::finish() {
    if (descriptor_.valid()) {
        flush();
        // On disk before it gets its name, so that a crash never leaves an empty output there.
        if (descriptor_.valid() && ::fsync(descriptor_.get()) != 0) fail("write", errno);
        if (descriptor_.valid() && !descriptor_.close()) fail("write", errno);
        descriptor_ = FileDescriptor();
    }
    return status_;
}

Status OutputFile::commit() {
    (void)finish();
    if (status_.ok() && !temporaryName_.empty()) {
        if (::renameat(folder_->descriptor(), temporaryName_.c_str(), folder_->descriptor(),
                       name_.c_str()) == 0) {
            temporaryName_.clear();
            unlist();
        } else {
            fail("replace", errno);
        }
    }
    return status_;
}

void OutputFile::discard() {
    descriptor_ = FileDescriptor();
    if (!temporaryName_.empty()) {
        ::unlinkat(folder_->descriptor(), temporaryName_.c_str(), 0);
        temporaryName_.clear();
    }
    unlist();
}

void OutputFile::unlist() {
    if (temporaries_ && listed_ >= 0) temporaries_->remove(listed_);
    listed_ = -1;
}

void RemoveStaleTemporaries(const RunFolder& folder) {
    const int listing = ::openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* directory = ::fdopendir(listing);
    if (directory == nullptr) {
        ::close(listing);
        return;
    }
    const std::string prefix = TemporaryOutputPrefix(folder.loadName());
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || !IsTemporarySuffix(name.substr(prefix.size()))) continue;
        struct stat info {};
        if (::fstatat(folder.descriptor(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(folder.descriptor(), entry->d_name, 0);
        }
    }
    ::closedir(directory);
}

Status RemoveOldOutput(const RunFolder& folder, const std::string& name) {
    struct stat info {};
    if (::fstatat(folder.descriptor(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return Status::Ok();
    } else if (S_ISDIR(info.st_mode)) {
        return Status::Error(Status::Code::NotAFile,
                             QuotedPath(folder.path() / name) + " is a folder, not a file");
    } else if (::unlinkat(folder.descriptor(), name.c_str(), 0) == 0 || errno == ENOENT) {
        return Status::Ok();
    }
    return Status::Error(
        Status::Code::WriteFailed,
        "Cannot delete " + QuotedPath(folder.path() / name) + ": " + std::strerror(errno));
}

}  // namespace talveron
