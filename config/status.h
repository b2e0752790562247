#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace talveron {

/// The outcome of an operation that touches the file system: success, or a code and a message
/// that names the file and the system's reason. The front end decides what the operator sees.
class [[nodiscard]] Status {
public:
    enum class Code { Ok, NotFound, NotAFile, ReadFailed, WriteFailed, Refused };

    Status() = default;
    static Status Ok() { return {}; }
    static Status Error(Code code, std::string message) { return Status(code, std::move(message)); }

    bool ok() const { return code_ == Code::Ok; }
    Code code() const { return code_; }
    const std::string& message() const { return message_; }

private:
    Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

    Code code_ = Code::Ok;
    std::string message_;
};

/// A path in double quotes, as messages name files.
inline std::string QuotedPath(const std::filesystem::path& path) {
    std::string text(1, '"');
    text.append(path.string()).push_back('"');
    return text;
}

}  // namespace talveron
