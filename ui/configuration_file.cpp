#include "ui/configuration_file.h"

#include "config/profile_file.h"

namespace talveron {

namespace {

// The document at the path; empty when it cannot be read, with the reason in `status`.
IniDocument Read(const std::filesystem::path& path, Status& status) {
    IniDocument document;
    status = LoadIniFile(path, document);
    return status.ok() ? document : IniDocument();
}

}  // namespace

bool ConfigurationFile::load() {
    Status status;
    const IniDocument document = Read(path_, status);
    layouts_ = LoadRecordLayouts(document);
    options_ = LoadOptionSettings(document);
    if (!status.ok()) {
        problem_ = status.message();
    } else if (!layouts_.usable()) {
        problem_ = QuotedPath(path_) + " does not define all four record layouts (H, D, I and C).";
    } else {
        problem_.clear();
    }
    return problem_.empty();
}

void ConfigurationFile::reloadOptions() {
    Status status;
    options_ = LoadOptionSettings(Read(path_, status));
}

ValueLists ConfigurationFile::loadValueLists() const {
    Status status;
    return ValueLists::Load(Read(path_, status));
}

}  // namespace talveron
