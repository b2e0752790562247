#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

#include "config/file_descriptor.h"
#include "run/run_folder.h"

namespace talveron {

/// The load file of a run, opened once through its folder and read from its start by each pass,
/// so both passes read the one file the run opened. While it is open, a regular file holds an
/// exclusive advisory lock (flock), so that no other run validates it at the same time.
class LoadFile {
public:
    enum class Kind { Missing, RegularFile, Folder, Other };

    LoadFile();
    ~LoadFile();
    LoadFile(const LoadFile&) = delete;
    LoadFile& operator=(const LoadFile&) = delete;

    /// Opens the load file by its name in the folder, without blocking on a FIFO or a device.
    /// Returns what the name led to; for Missing, error() says why.
    Kind open(const RunFolder& folder);
    /// Takes the exclusive lock; false only when another run holds it.
    bool lock();

    int error() const { return error_; }
    std::int64_t size() const { return size_; }
    FileIdentity identity() const { return identity_; }
    /// The file from its first byte; a read error shows as the stream's badbit.
    std::istream& rewind();

private:
    class Buffer;

    FileDescriptor descriptor_;
    std::unique_ptr<Buffer> buffer_;
    std::istream stream_;
    int error_ = 0;
    std::int64_t size_ = 0;
    FileIdentity identity_;
};

}  // namespace talveron
