#include "run/load_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace talveron {

/// Reads straight from the descriptor into the reader's buffer; a read error throws, which the
/// stream turns into its badbit.
class LoadFile::Buffer final : public std::streambuf {
public:
    explicit Buffer(int descriptor) : descriptor_(descriptor) {}

    void reset() { setg(nullptr, nullptr, nullptr); }

protected:
    std::streamsize xsgetn(char* target, std::streamsize wanted) override {
        std::streamsize got = 0;
        while (got < wanted) {
            if (gptr() < egptr()) {
                const auto buffered = std::min<std::streamsize>(egptr() - gptr(), wanted - got);
                std::copy(gptr(), gptr() + buffered, target + got);
                gbump(static_cast<int>(buffered));
                got += buffered;
                continue;
            }
            const std::streamsize count = readSome(target + got, wanted - got);
            if (count == 0) break;
            got += count;
        }
        return got;
    }

    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        const std::streamsize count = readSome(single_, sizeof single_);
        if (count == 0) return traits_type::eof();
        setg(single_, single_, single_ + count);
        return traits_type::to_int_type(*gptr());
    }

private:
    std::streamsize readSome(char* target, std::streamsize wanted) {
        for (;;) {
            const ssize_t count = ::read(descriptor_, target, static_cast<std::size_t>(wanted));
            if (count >= 0) return count;
            if (errno != EINTR) throw std::system_error(errno, std::generic_category());
        }
    }

    int descriptor_;
    char single_[1];
};

LoadFile::LoadFile() : stream_(nullptr) {}

LoadFile::~LoadFile() = default;

LoadFile::Kind LoadFile::open(const RunFolder& folder) {
    // O_NONBLOCK: a FIFO without a writer must not hang the run.
    descriptor_ = FileDescriptor(::openat(folder.descriptor(), folder.loadName().c_str(),
                                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!descriptor_.valid() || ::fstat(descriptor_.get(), &info) != 0) {
        error_ = errno;
        return Kind::Missing;
    }
    identity_ = {info.st_dev, info.st_ino};
    if (S_ISDIR(info.st_mode)) return Kind::Folder;
    if (!S_ISREG(info.st_mode)) return Kind::Other;
    size_ = info.st_size;
    ::fcntl(descriptor_.get(), F_SETFL, ::fcntl(descriptor_.get(), F_GETFL) & ~O_NONBLOCK);
    buffer_ = std::make_unique<Buffer>(descriptor_.get());
    stream_.rdbuf(buffer_.get());
    return Kind::RegularFile;
}

bool LoadFile::lock() {
    while (::flock(descriptor_.get(), LOCK_EX | LOCK_NB) != 0) {
        // A file system without locks cannot tell of another run; that is no reason to refuse.
        if (errno != EINTR) return errno != EWOULDBLOCK;
    }
    return true;
}

std::istream& LoadFile::rewind() {
    stream_.clear();
    buffer_->reset();
    if (::lseek(descriptor_.get(), 0, SEEK_SET) != 0) stream_.setstate(std::ios::badbit);
    return stream_;
}

}  // namespace talveron
