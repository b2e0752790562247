#pragma once

#include <filesystem>
#include <string_view>

#include "config/status.h"

namespace talveron {

/// The production configuration shipped inside the programs.
std::string_view DefaultConfigurationText();

/// Writes the shipped configuration as TALVERON.CFG into the directory (created when missing),
/// unless a file of that name is already there: an existing configuration is never overwritten.
/// Returns Refused when one exists.
Status InstallDefaultConfiguration(const std::filesystem::path& directory);

}  // namespace talveron
