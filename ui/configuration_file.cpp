#include "ui/configuration_file.h"

#include "config/profile_file.h"
#include "config/run_configuration.h"

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
    RunConfiguration configuration;
    status_ = LoadRunConfiguration(path_, configuration);
    layouts_ = std::move(configuration.layouts);
    options_ = configuration.options;
    return status_.ok();
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
