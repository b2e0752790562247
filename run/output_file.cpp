#include "run/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace talveron {

namespace {

constexpr std::size_t kFlushThreshold = 256 * 1024;

std::string Describe(const std::filesystem::path& path, const char* what, int error) {
    std::string text = "Cannot ";
    text.append(what)
        .append(" ")
        .append(QuotedPath(path))
        .append(": ")
        .append(std::strerror(error));
    return text;
}

}  // namespace

OutputFile::OutputFile(std::filesystem::path path) : path_(std::move(path)) {}

OutputFile::~OutputFile() { (void)close(); }

void OutputFile::fail(const char* what, int error) {
    if (status_.ok())
        status_ = Status::Error(Status::Code::WriteFailed, Describe(path_, what, error));
}

void OutputFile::open() {
    everOpened_ = true;
    // O_NONBLOCK: a FIFO put at the path fails at once instead of hanging the run; regular files
    // ignore it.
    descriptor_ = ::open(path_.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor_ < 0) {
        const int error = errno;
        fail(error == ELOOP ? "replace the symbolic link" : "create", error);
    }
}

void OutputFile::append(std::string_view bytes) {
    if (!everOpened_) open();
    if (descriptor_ < 0) return;
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushThreshold) flush();
}

void OutputFile::flush() {
    std::size_t written = 0;
    while (descriptor_ >= 0 && written < buffer_.size()) {
        const ssize_t count =
            ::write(descriptor_, buffer_.data() + written, buffer_.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            fail("write", errno);
            ::close(descriptor_);
            descriptor_ = -1;
            break;
        }
        written += static_cast<std::size_t>(count);
    }
    buffer_.clear();
}

Status OutputFile::close() {
    if (descriptor_ >= 0) {
        flush();
        if (descriptor_ >= 0 && ::close(descriptor_) != 0) fail("write", errno);
        descriptor_ = -1;
    }
    return status_;
}

Status RemoveOldOutput(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::exists(status)) return Status::Ok();
    if (std::filesystem::is_directory(status)) {
        return Status::Error(Status::Code::NotAFile, QuotedPath(path) + " is a folder, not a file");
    }
    if (!std::filesystem::remove(path, error) && error) {
        return Status::Error(Status::Code::WriteFailed,
                             "Cannot delete " + QuotedPath(path) + ": " + error.message());
    }
    return Status::Ok();
}

}  // namespace talveron
