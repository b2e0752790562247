#pragma once

#include <filesystem>
#include <string>

namespace talveron {

/// The desktop program the windows hand a text file to (a summary report, a help document),
/// without waiting for it.
class ExternalOpener {
public:
    virtual ~ExternalOpener() = default;

    /// Whether the desktop has an opener at all; without one, openTextFile always fails.
    virtual bool available() const = 0;
    /// Opens a text file in the desktop's editor for it. Empty on success, otherwise the system's
    /// description of why it could not be opened.
    virtual std::string openTextFile(const std::filesystem::path& path) = 0;
};

/// Hands files to the desktop's opener, xdg-open.
class DesktopOpener final : public ExternalOpener {
public:
    bool available() const override;
    std::string openTextFile(const std::filesystem::path& path) override;
};

}  // namespace talveron
