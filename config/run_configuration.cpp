#include "config/run_configuration.h"

#include "config/profile_file.h"

namespace talveron {

Status LoadRunConfiguration(const std::filesystem::path& path, RunConfiguration& configuration) {
    if (path.empty())
        return Status::Error(Status::Code::Refused, std::string(kNoConfigurationDirectory));
    IniDocument document;
    Status status = LoadIniFile(path, document);
    if (status.ok()) {
        configuration.layouts = LoadRecordLayouts(document);
        configuration.options = LoadOptionSettings(document);
        configuration.lists = ValueLists::Load(document);
        if (configuration.layouts.usable()) return status;
        status = Status::Error(
            Status::Code::ReadFailed,
            QuotedPath(path) + " does not define all four record layouts (H, D, I and C)");
    } else if (status.code() == Status::Code::NotFound) {
        status = Status::Error(Status::Code::NotFound, QuotedPath(path) + " does not exist");
    }
    return status;
}

}  // namespace talveron
