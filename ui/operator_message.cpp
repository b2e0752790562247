#include "ui/operator_message.h"

namespace talveron {

OperatorMessage ConfigurationInvalidMessage(const std::filesystem::path& expectedPath,
                                            std::string_view reason) {
    std::string detail = std::string(reason);
    if (!expectedPath.empty())
        detail += "\n\nThe configuration is read from:\n" + expectedPath.string();
    return {"TALVERON.CFG", "Configuration file invalid or not found!", MessageIcon::Warning,
            std::move(detail)};
}

OperatorOffer ConfigurationInvalidOffer(const std::filesystem::path& expectedPath,
                                        std::string_view reason) {
    return {ConfigurationInvalidMessage(expectedPath, reason), "Check Configuration"};
}

OperatorOffer ConfigurationMissingOffer(const std::filesystem::path& expectedPath,
                                        std::string_view reason) {
    return {ConfigurationInvalidMessage(expectedPath, reason), "Install Default Configuration"};
}

OperatorMessage ConfigurationNotInstalledMessage(std::string_view reason) {
    return {"TALVERON.CFG", "The default configuration was not installed.", MessageIcon::Warning,
            std::string(reason)};
}

OperatorOffer QuitDuringRunOffer() {
    return {{std::string(kProgramTitle),
             "A validation is running. Cancel it and quit?",
             MessageIcon::Question,
             {}},
            "Quit"};
}

OperatorMessage ViewReportFailedMessage(std::string_view reason) {
    return {"Error Viewing Report", std::string(reason), MessageIcon::Warning, {}};
}

OperatorMessage HtmlReportNotSavedMessage(std::string_view reason) {
    return {"Save HTML Report", "The HTML report was not saved.", MessageIcon::Warning,
            std::string(reason)};
}

OperatorMessage HelpDocumentUnreadableMessage(std::string_view name, std::string_view reason) {
    return {std::string(kProgramTitle),
            "The help document \"" + std::string(name) + "\" could not be shown.",
            MessageIcon::Warning, std::string(reason)};
}

OperatorMessage EditorFailedMessage(std::string_view windowTitle, std::string_view reason) {
    return {std::string(windowTitle), std::string(reason), MessageIcon::Warning, {}};
}

OperatorMessage OptionsNotSavedMessage(std::string_view reason) {
    return {"System Options", "The settings were not saved; the configuration file is unchanged.",
            MessageIcon::Warning, std::string(reason)};
}

}  // namespace talveron
