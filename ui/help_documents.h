#pragma once

#include <string_view>

namespace talveron {

/// The help documents the Help menu shows, by file name. They are written in Markdown and
/// installed in share/talveron/help, which the program finds from the folder it runs from.
inline constexpr std::string_view kUsersGuideDocument = "howto.md";
inline constexpr std::string_view kReferenceDocument = "genref.md";
inline constexpr std::string_view kAdministrativeDocument = "sysadm.md";

}  // namespace talveron
