#include "ui/recent_files.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "config/profile_file.h"

namespace talveron {

namespace {

constexpr std::string_view kSection = "RecentFiles";

// Each entry is one line of the file; a name with a line break in it cannot be kept there.
bool Storable(const std::filesystem::path& file) {
    return file.string().find_first_of("\r\n") == std::string::npos;
}

}  // namespace

RecentFiles::RecentFiles(std::filesystem::path settingsFile)
    : settingsFile_(std::move(settingsFile)) {
    if (settingsFile_.empty()) return;  // no configuration directory: kept for this session only
    IniDocument settings;
    if (!LoadIniFile(settingsFile_, settings).ok()) return;
    for (std::size_t entry = 1; entry <= kMaximum; ++entry) {
        const auto file = settings.verbatim(kSection, std::to_string(entry));
        if (file && !file->empty()) files_.emplace_back(*file);
    }
}

void RecentFiles::add(const std::filesystem::path& file) {
    if (!Storable(file)) return;
    std::erase(files_, file);
    files_.insert(files_.begin(), file);
    if (files_.size() > kMaximum) files_.resize(kMaximum);

    if (settingsFile_.empty()) return;
    IniDocument settings;
    if (const Status loaded = LoadIniFile(settingsFile_, settings);
        !loaded.ok() && loaded.code() != Status::Code::NotFound) {
        return;  // never replace a settings file that could not be read
    }
    std::size_t entry = 0;
    for (const std::filesystem::path& recent : files_) {
        settings.setValue(kSection, std::to_string(++entry), recent.string());
    }
    std::error_code error;
    std::filesystem::create_directories(settingsFile_.parent_path(), error);
    static_cast<void>(SaveIniFileAtomically(settingsFile_, settings));
}

}  // namespace talveron
