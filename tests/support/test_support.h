#pragma once

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calendar.h"
#include "run/clock.h"
#include "run/run_observer.h"

namespace talveron::testing {

/// A fresh folder under the system's temporary directory, removed with everything in it.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "talveron-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

/// Reads a whole file in one piece: results files of long lines run to hundreds of megabytes,
/// which a character at a time takes minutes under the sanitizers.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// Everything under a folder by relative path: a file's bytes, "<folder>", "<link to TARGET>"
/// (never followed) or "<special>" (a FIFO is not opened).
using Listing = std::map<std::string, std::string>;

inline Listing ListFolder(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    Listing listing;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_symlink()) {
            listing[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
        } else if (entry.is_directory()) {
            listing[name] = "<folder>";
        } else if (entry.is_regular_file()) {
            listing[name] = ReadBytes(entry.path());
        } else {
            listing[name] = "<special>";
        }
    }
    return listing;
}

/// A clock that moves only when a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalDateTime wall = {2024, 6, 15, 10, 30, 0}) : wall_(wall) {}

    LocalDateTime now() const override { return wall_; }
    std::chrono::steady_clock::time_point steadyNow() const override { return steady_; }

    void setWall(const LocalDateTime& wall) { wall_ = wall; }
    void advance(std::chrono::steady_clock::duration by) { steady_ += by; }

private:
    LocalDateTime wall_;
    std::chrono::steady_clock::time_point steady_{};
};

/// A finding as the observer saw it, copied out of the call.
struct SeenFinding {
    OptionKey code = OptionKey::IRT;
    Level level = Level::Error;
    std::string message;
    std::int64_t lineNumber = 0;
    std::int32_t column = 0;
    std::int32_t character = 0;
    bool operator==(const SeenFinding&) const = default;
};

/// Keeps everything a run tells its front end. `onLine` and `onPhase` run when a line starts or
/// a phase begins, so a test can cancel the run, move the clock or change the files then.
class RecordingObserver : public RunObserver {
public:
    void phaseChanged(RunPhase phase) override {
        phases.push_back(phase);
        if (onPhase) onPhase(phase);
    }
    void informationChanged(std::string_view caption, std::string_view text) override {
        information.emplace_back(caption, text);
    }
    void progressChanged(int pass, int overall) override { progress.emplace_back(pass, overall); }
    void elapsedChanged(std::string_view text) override { elapsed.emplace_back(text); }
    void countersChanged(const RunCounters& now) override { counters = now; }
    void lineStarted(std::int64_t lineNumber, std::string_view) override {
        lines.push_back(lineNumber);
        if (onLine) onLine(lineNumber);
    }
    void findingReported(const Finding& finding, const FindingPlace&) override {
        findings.push_back({finding.code, finding.level, std::string(finding.message),
                            finding.lineNumber, finding.column, finding.character});
    }

    std::function<void(std::int64_t)> onLine;
    std::function<void(RunPhase)> onPhase;
    std::vector<RunPhase> phases;
    std::vector<std::pair<std::string, std::string>> information;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> elapsed;
    RunCounters counters;
    std::vector<std::int64_t> lines;
    std::vector<SeenFinding> findings;
};

}  // namespace talveron::testing
