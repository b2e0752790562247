#include "ui/operator_message.h"

namespace talveron {

OperatorMessage ConfigurationInvalidMessage(const std::filesystem::path& expectedPath,
                                            std::string_view reason) {
    std::string detail = std::string(reason);
    detail += "\n\nThe configuration is read from:\n" + expectedPath.string();
    return {"TALVERON.CFG", "Configuration file invalid or not found!", MessageIcon::Warning,
            std::move(detail)};
}

OperatorMessage ViewReportFailedMessage(std::string_view reason) {
    return {"Error Viewing Report", std::string(reason), MessageIcon::Warning, {}};
}

OperatorMessage HelpDocumentMissingMessage(std::string_view name, std::string_view places) {
    return {std::string(kProgramTitle),
            "The help document \"" + std::string(name) + "\" was not found.", MessageIcon::Warning,
            "It was looked for in:\n" + std::string(places)};
}

OperatorMessage OptionsNotSavedMessage(std::string_view reason) {
    return {"System Options", "The settings were not saved; the configuration file is unchanged.",
            MessageIcon::Warning, std::string(reason)};
}

}  // namespace talveron
