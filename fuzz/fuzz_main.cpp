// The libFuzzer entry of one target, chosen by TALVERON_FUZZ_TARGET when it is compiled.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "fuzz/fuzz_targets.h"

namespace {

/// A private folder for the runs of this process, removed when the fuzzer exits normally.
class Workspace {
public:
    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "talveron-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
    }
    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // libFuzzer calls this function only: the target and its folder live as long as the process.
    static const talveron::FuzzTarget* const target =
        talveron::FindFuzzTarget(TALVERON_FUZZ_TARGET);
    static const Workspace workspace;
    const std::string problem =
        target->check({reinterpret_cast<const char*>(data), size}, workspace.path());
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", TALVERON_FUZZ_TARGET, problem.c_str());
        std::abort();
    }
    return 0;
}
