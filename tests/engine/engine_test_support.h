#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/ini_document.h"
#include "config/record_layout.h"
#include "engine/calendar.h"
#include "engine/finding.h"
#include "engine/run_counters.h"
#include "run/clock.h"
#include "run/line_chunk.h"
#include "run/run_observer.h"

namespace talveron::testing {

/// How a run splits its checking among threads. Whole-run tests run under each of these: the
/// outcome, the outputs and what the observer sees must not depend on it.
struct RunThreading {
    int threads = 1;
    std::size_t chunkBytes = kDefaultChunkBytes;
    const char* name = "";
};

/// One thread; three threads taking a line at a time; two threads taking a few lines at a time.
inline constexpr RunThreading kRunThreadings[] = {
    {1, kDefaultChunkBytes, "OneThread"},
    {3, 1, "ThreeThreadsLineByLine"},
    {2, 700, "TwoThreadsFewLinesAtATime"},
};

inline void PrintTo(const RunThreading& threading, std::ostream* out) { *out << threading.name; }

inline std::string RunThreadingName(const ::testing::TestParamInfo<RunThreading>& info) {
    return info.param.name;
}

/// A clock that moves only when a test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalDateTime wall = {2024, 6, 15, 10, 30, 0}) : wall_(wall) {}

    LocalDateTime now() const override { return wall_; }
    std::chrono::steady_clock::time_point steadyNow() const override { return steady_; }

    void setWall(const LocalDateTime& wall) { wall_ = wall; }
    /// Moves the steady clock only; the wall clock is set explicitly where a test needs it.
    void advance(std::chrono::steady_clock::duration by) { steady_ += by; }

private:
    LocalDateTime wall_;
    std::chrono::steady_clock::time_point steady_{};
};

/// A finding as the observer saw it, copied out of the call.
struct SeenFinding {
    Level level = Level::Error;
    std::string message;
    std::int64_t lineNumber = 0;
    std::int32_t column = 0;
    std::int32_t character = 0;
};

/// Keeps everything a run tells its front end. `onLine` runs when a line starts, so a test can
/// cancel the run or move the clock at a chosen line.
class RecordingObserver : public RunObserver {
public:
    void phaseChanged(RunPhase phase) override { phases.push_back(phase); }
    void informationChanged(std::string_view caption, std::string_view text) override {
        information.emplace_back(caption, text);
    }
    void progressChanged(int pass, int overall) override { progress.emplace_back(pass, overall); }
    void elapsedChanged(std::string_view text) override { elapsed.emplace_back(text); }
    void countersChanged(const RunCounters& now) override {
        counters = now;
        ++counterUpdates;
    }
    void lineStarted(std::int64_t lineNumber, std::string_view) override {
        lines.push_back(lineNumber);
        if (onLine) onLine(lineNumber);
    }
    void findingReported(const Finding& finding, const FindingPlace&) override {
        findings.push_back({finding.level, std::string(finding.message), finding.lineNumber,
                            finding.column, finding.character});
    }

    std::function<void(std::int64_t)> onLine;
    std::vector<RunPhase> phases;
    std::vector<std::pair<std::string, std::string>> information;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> elapsed;
    RunCounters counters;
    int counterUpdates = 0;
    std::vector<std::int64_t> lines;
    std::vector<SeenFinding> findings;
};

/// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "talveron-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Four small layouts. Dose, intake and comment records carry the shared Record_Type field as
/// their fifth field, at character 41; every name the rules look up is present.
///   H: License_No 1-10, Report_Period 12-19, Licensee_Name 21-50, Contact_Person 52-81,
///      Contact_Phone 83-94, Assoc_License_1 96-105, Assoc_License_2 107-116,
///      Assoc_License_3 118-127
///   D: Employee_ID 1-12, ID_Type 14-16, First_Name 18-27, Last_Name 29-39, Record_Type 41,
///      Monitoring_Start 43-50, Monitoring_End 52-59, Birth_Date 61-68, TEDE 70-79,
///      CEDE 81-90, CDE 92-101, TODE 103-112, DDE 114-123, LDE 125-134, SDE_WB 136-145,
///      SDE_ME 147-156
///   I: Employee_ID, ID_Type, Class 18-27, Mode 29-39, Record_Type 41, Intake 43-52
///   C: Employee_ID, ID_Type, Comment_A 18-27, Comment_B 29-39, Record_Type 41, Comment 43-82
inline std::string TestConfigurationText() {
    return "[H]\n1=License_No\n2=Report_Period\n3=Licensee_Name\n4=Contact_Person\n"
           "5=Contact_Phone\n6=Assoc_License_1\n7=Assoc_License_2\n8=Assoc_License_3\n"
           "[C]\n1=Employee_ID\n2=ID_Type\n3=Comment_A\n4=Comment_B\n5=Record_Type\n6=Comment\n"
           "[D]\n1=Employee_ID\n2=ID_Type\n3=First_Name\n4=Last_Name\n5=Record_Type\n"
           "6=Monitoring_Start\n7=Monitoring_End\n8=Birth_Date\n9=TEDE\n10=CEDE\n11=CDE\n"
           "12=TODE\n13=DDE\n14=LDE\n15=SDE_WB\n16=SDE_ME\n"
           "[I]\n1=Employee_ID\n2=ID_Type\n3=Class\n4=Mode\n5=Record_Type\n6=Intake\n"
           "[License_No]\nLen=10\n[Report_Period]\nLen=8\n[Licensee_Name]\nLen=30\n"
           "[Contact_Person]\nLen=30\n[Contact_Phone]\nLen=12\n[Assoc_License_1]\nLen=10\n"
           "[Assoc_License_2]\nLen=10\n[Assoc_License_3]\nLen=10\n"
           "[Employee_ID]\nLen=12\n[ID_Type]\nLen=3\n[Record_Type]\nLen=1\n"
           "[First_Name]\nLen=10\n[Last_Name]\nLen=11\n"
           "[Monitoring_Start]\nLen=8\nType=Date\n[Monitoring_End]\nLen=8\nType=Date\n"
           "[Birth_Date]\nLen=8\nType=Date\n"
           "[TEDE]\nLen=10\n[CEDE]\nLen=10\n[CDE]\nLen=10\n[TODE]\nLen=10\n[DDE]\nLen=10\n"
           "[LDE]\nLen=10\n[SDE_WB]\nLen=10\n[SDE_ME]\nLen=10\n"
           "[Class]\nLen=10\n[Mode]\nLen=11\n[Intake]\nLen=10\n"
           "[Comment_A]\nLen=10\n[Comment_B]\nLen=11\n[Comment]\nLen=40\n";
}

inline IniDocument TestConfiguration() { return IniDocument(TestConfigurationText()); }
inline LayoutTable TestLayouts() { return LoadRecordLayouts(TestConfiguration()); }

/// A record line of `length` characters: blanks, each named value left-aligned at its field's
/// start in the layout of `type`, and the type letter at character 41 for non-header records.
inline std::string MakeRecord(
    const LayoutTable& layouts, RecordType type, std::size_t length,
    std::initializer_list<std::pair<std::string_view, std::string_view>> values = {}) {
    std::string line(length, ' ');
    if (type != RecordType::Header && length >= 41) line[40] = RecordTypeLetter(type);
    const RecordLayout& layout = layouts.of(type);
    for (const auto& [name, value] : values) {
        const FieldDef* field = layout.field(FindField(layout, name));
        if (field == nullptr) continue;
        const auto start = static_cast<std::size_t>(field->start - 1);
        if (start + value.size() <= line.size()) line.replace(start, value.size(), value);
    }
    return line;
}

/// A line of `length` blanks with `type` at character 41 (any letter, known or not).
inline std::string TypedLine(char type, std::size_t length) {
    std::string line(length, ' ');
    if (length >= 41) line[40] = type;
    return line;
}

/// Lines joined with a terminator after each one.
inline std::string JoinLines(const std::vector<std::string>& lines, std::string_view end = "\r\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += end;
    }
    return text;
}

/// The lines of a CR LF text; a final terminator adds no empty line.
inline std::vector<std::string> SplitCrLf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(from));
            break;
        }
        lines.emplace_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

}  // namespace talveron::testing
