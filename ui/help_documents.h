#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace talveron {

/// The help documents the Help menu opens, by name.
inline constexpr std::string_view kUsersGuideDocument = "howto.md";
inline constexpr std::string_view kReferenceDocument = "genref.md";
inline constexpr std::string_view kAdministrativeDocument = "sysadm.md";

/// The first of the directories, in order, that holds a file of that name; nullopt when none does.
std::optional<std::filesystem::path> LocateHelpDocument(
    std::string_view name, std::span<const std::filesystem::path> directories);

}  // namespace talveron
