#include "run/run_paths.h"

namespace talveron {

std::filesystem::path DeriveOutputPath(const std::filesystem::path& loadPath,
                                       std::string_view extension) {
    const std::string text = loadPath.string();
    const std::size_t nameStart = text.rfind('/') == std::string::npos ? 0 : text.rfind('/') + 1;
    const std::size_t dot = text.find('.', nameStart);
    std::string derived = text.substr(0, dot);
    derived += extension;
    return derived;
}

RunPaths DeriveRunPaths(const std::filesystem::path& loadPath) {
    return {loadPath, DeriveOutputPath(loadPath, ".err"), DeriveOutputPath(loadPath, ".dst")};
}

RunPaths WithOutputsIn(RunPaths paths, const std::filesystem::path& folder) {
    paths.results = folder / paths.results.filename();
    paths.report = folder / paths.report.filename();
    return paths;
}

}  // namespace talveron
