#include "bench/load_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "config/profile_file.h"
#include "config/value_lists.h"
#include "run/clock.h"
#include "run/validation_run.h"
#include "support/test_support.h"

namespace talveron::bench {
namespace {

namespace fs = std::filesystem;
using talveron::testing::TemporaryDirectory;

/// The check codes of the findings on each line.
using FindingsByLine = std::map<std::int64_t, std::multiset<OptionKey>>;

/// Generates load files for the shipped production configuration and validates them with the
/// engine as of 1 March 2025, the first day after every generated date has passed.
class LoadGeneratorTest : public ::testing::Test {
protected:
    LoadGeneratorTest() {
        const fs::path configPath = fs::path(TALVERON_SAMPLE_DATA_DIR) / "TALVERON.CFG";
        EXPECT_TRUE(LoadIniFile(configPath, document).ok()) << configPath;
        configuration = GeneratorConfiguration::Load(document);
        options = LoadOptionSettings(document);
        lists = ValueLists::Load(document);
    }

    std::string Generate(const GeneratorSettings& settings, GeneratedFile* file = nullptr) {
        std::ostringstream out;
        GeneratedFile written = WriteLoadFile(configuration, settings, out);
        if (file != nullptr) *file = std::move(written);
        return std::move(out).str();
    }

    /// Validates the bytes as a load file; returns the findings by line.
    FindingsByLine Validate(const std::string& bytes, RunOutcome* outcome = nullptr) {
        const fs::path load = directory.path() / "load.dat";
        talveron::testing::WriteBytes(load, bytes);
        const RunInputs inputs{configuration.layouts, options, lists,
                               LocalDateTime{2025, 3, 1, 0, 0, 0}};
        talveron::testing::RecordingObserver observer;
        const CancelRequest cancel;
        ValidationRun run(inputs, clock, observer, cancel);
        const RunOutcome result = run.execute(load);
        EXPECT_EQ(result.status, RunStatus::Validated) << result.problem;
        if (outcome != nullptr) *outcome = result;
        FindingsByLine byLine;
        for (const auto& finding : observer.findings)
            byLine[finding.lineNumber].insert(finding.code);
        return byLine;
    }

    IniDocument document;
    GeneratorConfiguration configuration;
    OptionSettings options;
    ValueLists lists;
    SystemClock clock;
    TemporaryDirectory directory;
};

TEST_F(LoadGeneratorTest, ASeedAlwaysGivesTheSameBytesAndLfOnlyDropsOnlyTheCarriageReturns) {
    const GeneratorSettings settings{2'000, FaultShare::OnePercent, 29, Shape::Normal};
    const std::string crLf = Generate(settings);
    EXPECT_EQ(Generate(settings), crLf);
    EXPECT_NE(Generate({2'000, FaultShare::OnePercent, 30, Shape::Normal}), crLf);
    std::string stripped = crLf;
    stripped.erase(std::remove(stripped.begin(), stripped.end(), '\r'), stripped.end());
    EXPECT_EQ(Generate({2'000, FaultShare::OnePercent, 29, Shape::LfOnly}), stripped);
    EXPECT_TRUE(Validate(Generate({2'000, FaultShare::None, 29, Shape::LfOnly})).empty());
}

TEST_F(LoadGeneratorTest, AFileWithoutFaultsValidatesWithoutASingleFinding) {
    RunOutcome outcome;
    const FindingsByLine findings =
        Validate(Generate({20'000, FaultShare::None, 11, Shape::Normal}), &outcome);
    EXPECT_TRUE(findings.empty()) << findings.size() << " lines with findings, the first line "
                                  << findings.begin()->first;
    EXPECT_EQ(outcome.counters.totalErrors(), 0);
    EXPECT_EQ(outcome.counters.totalWarnings(), 0);
}

TEST_F(LoadGeneratorTest, OnePercentFaultsGiveFindingsOnTheFaultyRecordsOnly) {
    GeneratedFile file;
    const FindingsByLine findings =
        Validate(Generate({20'000, FaultShare::OnePercent, 13, Shape::Normal}, &file));
    // 1% of 20,001 records is about 200, with a spread of about 14.
    EXPECT_GE(file.faults.size(), 150u);
    EXPECT_LE(file.faults.size(), 250u);
    std::set<std::int64_t> faultLines, findingLines;
    for (const FaultyRecord& record : file.faults) faultLines.insert(record.line);
    for (const auto& [line, codes] : findings) findingLines.insert(line);
    EXPECT_EQ(findingLines, faultLines);
}

/// The check each fault is made to trip.
const std::map<Fault, OptionKey> kCheckOf{
    {Fault::LetterInPhone, OptionKey::PIC},         {Fault::LetterInSsn, OptionKey::SSNNN},
    {Fault::SumMismatch, OptionKey::DCSUM},         {Fault::ZeroInsteadOfCode, OptionKey::NRND},
    {Fault::InvalidSex, OptionKey::SexList},        {Fault::InvalidBirthMonth, OptionKey::DIM},
    {Fault::BirthAfter1999, OptionKey::BDay},       {Fault::LowerCaseType, OptionKey::IRT},
    {Fault::TestName, OptionKey::NAMFLD},           {Fault::NcInDde, OptionKey::NCDDE},
    {Fault::MissingTrailingFields, OptionKey::IRL}, {Fault::LongPeriod, OptionKey::MPGT},
    {Fault::NuclideWithoutHyphen, OptionKey::VNVR}, {Fault::ClassModeMismatch, OptionKey::MODH},
    {Fault::CommaInIntake, OptionKey::NVCIC},       {Fault::EmptyComment, OptionKey::LLMA},
};

TEST_F(LoadGeneratorTest, WithAllFaultsEveryRecordHasTheFindingOfItsFault) {
    GeneratedFile file;
    const FindingsByLine findings =
        Validate(Generate({20'000, FaultShare::All, 17, Shape::Normal}, &file));
    ASSERT_EQ(file.faults.size(), 20'001u);
    EXPECT_EQ(findings.size(), 20'001u);
    std::set<Fault> seen;
    for (const FaultyRecord& record : file.faults) {
        seen.insert(record.fault);
        const auto found = findings.find(record.line);
        ASSERT_NE(found, findings.end()) << "line " << record.line;
        EXPECT_TRUE(found->second.contains(kCheckOf.at(record.fault)))
            << "line " << record.line << ", fault " << static_cast<int>(record.fault);
    }
    EXPECT_EQ(seen.size(), kCheckOf.size()) << "every kind of fault occurs";
}

}  // namespace
}  // namespace talveron::bench
