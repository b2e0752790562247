#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "config/ini_document.h"
#include "config/status.h"

namespace talveron {

/// The bare name of the configuration file.
inline constexpr std::string_view kConfigurationFileName = "TALVERON.CFG";

/// Why there is no configuration to read when the environment gives no configuration directory.
inline constexpr std::string_view kNoConfigurationDirectory =
    "no configuration directory: set XDG_CONFIG_HOME or HOME";

/// The configuration directory for a given environment lookup: $XDG_CONFIG_HOME/talveron when set
/// and absolute, else $HOME/.config/talveron. Empty when neither is usable: then there is no
/// configuration directory (never the current folder).
std::filesystem::path ConfigurationDirectory(
    const std::function<const char*(const char*)>& environment);

/// The folder where the desktop program keeps what it remembers between runs (the findings of
/// the last run of each load file): $XDG_STATE_HOME/talveron when set and absolute, else
/// $HOME/.local/state/talveron; empty when neither is usable.
std::filesystem::path StateDirectory(const std::function<const char*(const char*)>& environment);

/// Reads an INI-format file whole. A missing file is reported as NotFound (callers that want the
/// defaults then use an empty document); anything but a regular file (after following links:
/// a folder, a device, a FIFO) as NotAFile, without blocking; other failures as ReadFailed.
Status LoadIniFile(const std::filesystem::path& path, IniDocument& document);

/// Replaces the file with the document's text atomically: the text goes to a temporary file in
/// the same directory, is flushed to disk and renamed over the old file, so a crash never leaves a
/// half-written file. A symbolic link is followed and its target replaced; the old file's
/// permissions are kept. A file without any write permission bit is read-only and is not
/// replaced. The old file's owner and group are kept too: where the new file cannot carry them
/// (the user is not the owner) or cannot be created (a folder closed to the user), the old file
/// is rewritten in place, and its old bytes are written back if that fails. On failure the old
/// file is untouched.
Status SaveIniFileAtomically(const std::filesystem::path& path, const IniDocument& document);

/// WriteProfileValue on a file: load (a missing file starts empty), set one key, save atomically.
Status WriteProfileValue(const std::filesystem::path& path, std::string_view section,
                         std::string_view key, std::string_view value);

}  // namespace talveron
