#pragma once

#include <filesystem>
#include <string>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/status.h"
#include "config/value_lists.h"

namespace talveron {

/// The configuration file the desktop program runs on, read at its three moments: the layouts and
/// options at start-up, the options again whenever the options dialog closes, the value lists
/// before every run (so that an edited list counts from the next run on).
class ConfigurationFile {
public:
    explicit ConfigurationFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// Reads the layouts and the options. False when the file is missing or unreadable or a record
    /// layout is empty; problem() then says why and missing() whether the file is not there.
    bool load();
    /// Reads the options again; a file that cannot be read gives the defaults.
    void reloadOptions();
    /// The value lists as the file holds them now; empty lists when it cannot be read.
    ValueLists loadValueLists() const;

    bool usable() const { return layouts_.usable(); }
    const std::string& problem() const { return status_.message(); }
    bool missing() const { return status_.code() == Status::Code::NotFound; }
    const LayoutTable& layouts() const { return layouts_; }
    const OptionSettings& options() const { return options_; }

private:
    std::filesystem::path path_;
    LayoutTable layouts_;
    OptionSettings options_ = OptionSettings::Defaults();
    Status status_;
};

}  // namespace talveron
