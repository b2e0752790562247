#pragma once

#include <filesystem>
#include <string>

namespace talveron {

/// The desktop programs the windows hand files to, without waiting for them.
class ExternalOpener {
public:
    virtual ~ExternalOpener() = default;

    /// Opens a plain-text file (a summary report) in the text editor. Empty on success, otherwise
    /// the system's description of why it could not be opened.
    virtual std::string openTextFile(const std::filesystem::path& path) = 0;
    /// Opens a document (a help document) with the program the desktop associates with it.
    virtual void openDocument(const std::filesystem::path& path) = 0;
};

/// Hands files to the desktop's openers (xdg-open and its kin).
class DesktopOpener final : public ExternalOpener {
public:
    std::string openTextFile(const std::filesystem::path& path) override;
    void openDocument(const std::filesystem::path& path) override;
};

}  // namespace talveron
