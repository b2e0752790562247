#include "ui/help_documents.h"

#include <system_error>

namespace talveron {

std::optional<std::filesystem::path> LocateHelpDocument(
    std::string_view name, std::span<const std::filesystem::path> directories) {
    for (const std::filesystem::path& directory : directories) {
        std::filesystem::path candidate = directory / name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return std::nullopt;
}

}  // namespace talveron
