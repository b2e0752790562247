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

/// A question answered by a button that says what it does, or by Cancel.
struct OperatorOffer {
    OperatorMessage question;
    std::string action;  ///< the caption of the accepting button

    bool operator==(const OperatorOffer&) const = default;
};

/// The title of messages that have no title of their own.
inline constexpr std::string_view kProgramTitle = "Talveron";

/// Start-up with a configuration file that is missing, unreadable or lacks a record layout.
OperatorMessage ConfigurationInvalidMessage(const std::filesystem::path& expectedPath,
                                            std::string_view reason);
/// The same for a configuration file that is there but unusable, offering to check it.
OperatorOffer ConfigurationInvalidOffer(const std::filesystem::path& expectedPath,
                                        std::string_view reason);
/// The same for a configuration file that is missing, offering to install the shipped one.
OperatorOffer ConfigurationMissingOffer(const std::filesystem::path& expectedPath,
                                        std::string_view reason);
/// The shipped configuration could not be installed; `reason` names the file.
OperatorMessage ConfigurationNotInstalledMessage(std::string_view reason);

/// Closing the main window while a run is going.
OperatorOffer QuitDuringRunOffer();

/// A report could not be shown, or a saved HTML report not opened in the browser; `reason` says
/// why.
OperatorMessage ViewReportFailedMessage(std::string_view reason);

/// The HTML report could not be written; `reason` names the file and the system's reason.
OperatorMessage HtmlReportNotSavedMessage(std::string_view reason);

/// A help document that could not be read; `reason` names the file and the system's reason.
OperatorMessage HelpDocumentUnreadableMessage(std::string_view name, std::string_view reason);

/// A document window could not hand its file to the editor; `reason` is the system's description.
OperatorMessage EditorFailedMessage(std::string_view windowTitle, std::string_view reason);

/// The options dialog could not save the configuration file; `reason` names the file.
OperatorMessage OptionsNotSavedMessage(std::string_view reason);

}  // namespace talveron
