#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

/// The icon of a message box.
enum class MessageIcon { None, Information, Warning, Question };

/// One modal message or OK/Cancel question, as the operator sees it.
struct OperatorMessage {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    std::string detail;  ///< smaller print below the text; empty for none

    bool operator==(const OperatorMessage&) const = default;
};

/// The title of messages that have no title of their own.
inline constexpr std::string_view kProgramTitle = "Talveron";

/// Start-up with a configuration file that is missing, unreadable or lacks a record layout.
OperatorMessage ConfigurationInvalidMessage(const std::filesystem::path& expectedPath,
                                            std::string_view reason);

/// The text editor could not be started on a report; `reason` is the system's description.
OperatorMessage ViewReportFailedMessage(std::string_view reason);

/// A help document that is in none of the places it is looked for.
OperatorMessage HelpDocumentMissingMessage(std::string_view name, std::string_view places);

/// The options dialog could not save the configuration file; `reason` names the file.
OperatorMessage OptionsNotSavedMessage(std::string_view reason);

}  // namespace talveron
