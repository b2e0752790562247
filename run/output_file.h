#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/file_descriptor.h"
#include "config/status.h"
#include "run/run_folder.h"
#include "run/temporary_file_list.h"

namespace talveron {

/// One output of a run (the results file or the report). It is written to a temporary file in the
/// folder the outputs go to, created on the first append with a name that shows it belongs to
/// Talveron and its load file, and renamed over the output's name by commit() once it is complete.
/// So the output's name never shows a partial file, and nothing is written through a link that is
/// at that name or put there during the run. Failures are kept, not thrown: the first one is what
/// finish() and commit() return. A temporary that was not committed is removed when the object
/// goes. Without a folder (a run that writes no file) what is appended is dropped and nothing is
/// ever opened.
class OutputFile {
public:
    /// `kind` ("err", "dst", or "htm" for the HTML report) tells the temporary files apart;
    /// `folder` may be null.
    OutputFile(const RunFolder* folder, std::string name, std::string_view kind,
               TemporaryFileList* temporaries);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void append(std::string_view bytes);
    /// Something was appended, so there is an output to finish and commit.
    bool opened() const { return opened_; }
    /// Writes what is buffered, flushes the temporary to disk and closes it.
    Status finish();
    /// Renames the finished temporary over the output's name.
    Status commit();
    /// Removes the temporary file; the output's name is left as it is.
    void discard();
    const Status& status() const { return status_; }

private:
    void open();
    void flush();
    void fail(const char* what, int error);
    void unlist();

    const RunFolder* folder_;
    std::string name_;
    std::string temporaryPrefix_;
    TemporaryFileList* temporaries_;
    std::string temporaryName_;  // empty while there is no temporary file
    int listed_ = -1;
    FileDescriptor descriptor_;
    bool opened_ = false;
    std::string buffer_;
    std::uint64_t written_ = 0;       // bytes written to the temporary
    std::uint64_t handedToDisk_ = 0;  // of those, bytes whose writing to disk was started
    Status status_;
};

/// The name prefix of every temporary output file of a load file: a leading dot (hidden), the
/// load file's name (shortened so that the whole name fits the system's limit) and
/// ".talveron-".
std::string TemporaryOutputPrefix(std::string_view loadName);

/// Removes the temporary output files a killed run of this load file left in its folder.
void RemoveStaleTemporaries(const RunFolder& folder);

/// Removes an old output of that name in the folder if it is a file or a symbolic link (never a
/// folder). A missing file is fine; other failures are returned.
Status RemoveOldOutput(const RunFolder& folder, const std::string& name);

}  // namespace talveron
