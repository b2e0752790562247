#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

namespace talveron {

/// The desktop program's own settings file in the configuration directory, apart from
/// TALVERON.CFG, which holds only what validation runs use.
inline constexpr std::string_view kDesktopSettingsFileName = "talveron-desktop.ini";

/// The load files validated last, newest first, kept in the desktop program's settings file.
class RecentFiles {
public:
    static constexpr std::size_t kMaximum = 8;

    /// Reads the list; a settings file that is missing or cannot be read gives an empty one.
    explicit RecentFiles(std::filesystem::path settingsFile);

    const std::vector<std::filesystem::path>& files() const { return files_; }

    /// Puts the file first, drops its older entry and those beyond the maximum, and saves the
    /// list (creating the folder), keeping the rest of the settings file. A list that cannot be
    /// saved still counts for this session: it is a convenience, not the operator's data. A name
    /// with a line break, which a line of the file cannot hold, is not listed.
    void add(const std::filesystem::path& file);

private:
    std::filesystem::path settingsFile_;
    std::vector<std::filesystem::path> files_;
};

}  // namespace talveron
