#pragma once

#include <unistd.h>

#include <utility>

namespace talveron {

/// Owns a file descriptor and closes it when it goes; close() reports the final close's failure.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() {
        if (valid()) ::close(descriptor_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept
        : descriptor_(std::exchange(other.descriptor_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            if (valid()) ::close(descriptor_);
            descriptor_ = std::exchange(other.descriptor_, -1);
        }
        return *this;
    }

    bool valid() const { return descriptor_ >= 0; }
    int get() const { return descriptor_; }
    bool close() { return ::close(std::exchange(descriptor_, -1)) == 0; }

private:
    int descriptor_ = -1;
};

}  // namespace talveron
