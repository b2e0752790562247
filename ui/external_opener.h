#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// The desktop programs the windows hand a file to (a summary report or a help document to the
/// editor, an HTML report to the browser), without waiting for them.
class ExternalOpener {
public:
    virtual ~ExternalOpener() = default;

    /// Whether the desktop has an opener at all; without one, openTextFile always fails.
    virtual bool available() const = 0;
    /// Opens a text file in the desktop's editor for it. Empty on success, otherwise the system's
    /// description of why it could not be opened.
    virtual std::string openTextFile(const std::filesystem::path& path) = 0;
    /// Opens a web page in the desktop's browser; empty on success, as openTextFile.
    virtual std::string openWebPage(const std::filesystem::path& path) = 0;
};

/// Hands files to the desktop's opener, xdg-open.
class DesktopOpener final : public ExternalOpener {
public:
    bool available() const override;
    std::string openTextFile(const std::filesystem::path& path) override;
    std::string openWebPage(const std::filesystem::path& path) override;

private:
    /// Hands the file to xdg-open; `program` names what should open it, for the message.
    std::string open(const std::filesystem::path& path, std::string_view program);
};

}  // namespace talveron
