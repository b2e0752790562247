#include "cli/descriptor_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace talveron {

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor_(descriptor) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

DescriptorOutput::~DescriptorOutput() { flush(); }

bool DescriptorOutput::flush() {
    const char* next = pbase();
    while (next < pptr() && error_ == 0 && !readerGone_) {
        const ssize_t written = ::write(descriptor_, next, static_cast<std::size_t>(pptr() - next));
        if (written >= 0) {
            next += written;
        } else if (errno == EPIPE) {
            readerGone_ = true;
        } else if (errno != EINTR) {
            error_ = errno;
        }
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!flush()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* bytes, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        if (pptr() == epptr() && !flush()) return done;
        const std::streamsize room = std::min<std::streamsize>(epptr() - pptr(), count - done);
        std::memcpy(pptr(), bytes + done, static_cast<std::size_t>(room));
        pbump(static_cast<int>(room));
        done += room;
    }
    return done;
}

int DescriptorOutput::sync() { return flush() ? 0 : -1; }

std::string DescriptorOutput::failure() const {
    return error_ == 0 ? std::string() : std::strerror(error_);
}

std::string OutputFailure(const std::ostream& stream) {
    const auto* output = dynamic_cast<const DescriptorOutput*>(stream.rdbuf());
    const std::string reason = output ? output->failure() : std::string();
    return reason.empty() ? "the stream failed" : reason;
}

}  // namespace talveron
