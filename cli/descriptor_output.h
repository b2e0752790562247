#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace talveron {

/// A buffered output stream's buffer on a file descriptor (standard output). A reader that went
/// away (a closed pipe, as with `| head`) makes the rest of the output vanish quietly; any other
/// write failure fails the stream and is kept for the message.
class DescriptorOutput final : public std::streambuf {
public:
    explicit DescriptorOutput(int descriptor);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    /// The system's reason for the first failure; empty when there was none.
    std::string failure() const;

protected:
    int_type overflow(int_type c) override;
    int sync() override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    bool flush();

    int descriptor_;
    int error_ = 0;
    bool readerGone_ = false;
    char buffer_[1 << 16];
};

/// Why a stream failed: the descriptor's reason when it writes to one, else a general text.
std::string OutputFailure(const std::ostream& stream);

}  // namespace talveron
