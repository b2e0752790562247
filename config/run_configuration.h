#pragma once

#include <filesystem>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/status.h"
#include "config/value_lists.h"

namespace talveron {

/// What a run reads from the configuration file.
struct RunConfiguration {
    LayoutTable layouts;
    OptionSettings options = OptionSettings::Defaults();
    ValueLists lists;
};

/// Reads the configuration file as a run needs it. Fails when the file is missing (NotFound),
/// cannot be read or lacks one of the four record layouts; the message names the full path and
/// says what is wrong. An empty path (no configuration directory) is refused, never taken as a
/// file of the current folder.
Status LoadRunConfiguration(const std::filesystem::path& path, RunConfiguration& configuration);

}  // namespace talveron
