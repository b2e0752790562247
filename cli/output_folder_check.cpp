#include "cli/output_folder_check.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <map>
#include <optional>
#include <set>
#include <utility>

#include "run/run_folder.h"
#include "run/run_paths.h"

namespace talveron {

namespace {

/// The file a load path leads to, as a run opens it through its folder.
std::optional<FileIdentity> LoadIdentity(const std::filesystem::path& loadFile) {
    RunFolder folder;
    struct stat info {};
    if (!RunFolder::Open(loadFile, folder).ok() ||
        ::fstatat(folder.descriptor(), folder.loadName().c_str(), &info, 0) != 0) {
        return std::nullopt;
    }
    return FileIdentity{info.st_dev, info.st_ino};
}

}  // namespace

std::string OutputFolderRefusal(const std::filesystem::path& folder,
                                std::span<const std::filesystem::path> loadFiles) {
    RunFolder outputs;
    if (const Status opened = RunFolder::OpenOutputs(folder, {}, outputs); !opened.ok()) {
        return opened.message();
    }
    const std::string refusing = "refusing --output-dir " + QuotedPath(folder) + ": ";
    std::set<FileIdentity> loads;
    for (const auto& loadFile : loadFiles) {
        if (const auto identity = LoadIdentity(loadFile)) loads.insert(*identity);
    }
    // Each output name with the load file that writes it first.
    std::map<std::string, std::pair<FileIdentity, std::filesystem::path>> writers;
    for (const auto& loadFile : loadFiles) {
        const auto identity = LoadIdentity(loadFile);
        if (!identity) continue;
        const RunPaths paths = DeriveRunPaths(loadFile.filename());
        for (const std::string& name : {paths.results.string(), paths.report.string()}) {
            const std::filesystem::path output = outputs.path() / name;
            struct stat info {};
            if (::fstatat(outputs.descriptor(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                loads.contains({info.st_dev, info.st_ino})) {
                return refusing + QuotedPath(output) + " is a load file of this command, which " +
                       "an output of " + QuotedPath(loadFile) + " would replace";
            }
            const auto [first, added] = writers.try_emplace(name, *identity, loadFile);
            if (!added && first->second.first != *identity) {
                return refusing + QuotedPath(first->second.second) + " and " +
                       QuotedPath(loadFile) + " would both write " + QuotedPath(output);
            }
        }
    }
    return {};
}

}  // namespace talveron
