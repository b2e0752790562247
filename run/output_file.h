#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "config/status.h"

namespace talveron {

/// One output of a run (the results file or the report). The file is created, or an existing
/// one truncated, on the first append; writes are buffered. A symbolic link at the path is never
/// followed. Failures are kept, not thrown: the first one is what close() returns.
class OutputFile {
public:
    explicit OutputFile(std::filesystem::path path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void append(std::string_view bytes);
    /// Writes what is buffered and closes; returns the first failure of the file's life.
    Status close();

    bool opened() const { return descriptor_ >= 0 || everOpened_; }
    const std::filesystem::path& path() const { return path_; }

private:
    void open();
    void flush();
    void fail(const char* what, int error);

    std::filesystem::path path_;
    int descriptor_ = -1;
    bool everOpened_ = false;
    std::string buffer_;
    Status status_;
};

/// Removes an old output at the path if it is a file or a symbolic link (never a folder).
/// A missing file is fine; other failures are returned.
Status RemoveOldOutput(const std::filesystem::path& path);

}  // namespace talveron
