#include "config/default_configuration.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "config/profile_file.h"

namespace talveron {

namespace detail {
extern const unsigned char kDefaultConfiguration[];
extern const std::size_t kDefaultConfigurationSize;
}  // namespace detail

std::string_view DefaultConfigurationText() {
    return {reinterpret_cast<const char*>(detail::kDefaultConfiguration),
            detail::kDefaultConfigurationSize};
}

Status InstallDefaultConfiguration(const std::filesystem::path& directory) {
    if (directory.empty())
        return Status::Error(Status::Code::NotFound, std::string(kNoConfigurationDirectory));
    const std::filesystem::path path = directory / kConfigurationFileName;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        return Status::Error(
            Status::Code::WriteFailed,
            "Cannot create the folder " + QuotedPath(directory) + ": " + error.message());
    }
    // O_EXCL: an existing configuration, or a link standing where it would go, is left alone.
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        if (errno == EEXIST) {
            return Status::Error(Status::Code::Refused,
                                 QuotedPath(path) + " already exists; it was left as it is");
        }
        return Status::Error(Status::Code::WriteFailed,
                             "Cannot create " + QuotedPath(path) + ": " + std::strerror(errno));
    }
    const std::string_view text = DefaultConfigurationText();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            const int cause = errno;
            ::close(descriptor);
            std::filesystem::remove(path, error);
            return Status::Error(Status::Code::WriteFailed,
                                 "Cannot write " + QuotedPath(path) + ": " + std::strerror(cause));
        }
        written += static_cast<std::size_t>(count);
    }
    if (::close(descriptor) != 0) {
        return Status::Error(Status::Code::WriteFailed,
                             "Cannot write " + QuotedPath(path) + ": " + std::strerror(errno));
    }
    return Status::Ok();
}

}  // namespace talveron
