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
#include "engine/clock.h"
#include "engine/validation_run.h"
#include "support/temporary_directory.h"

namespace talveron::bench {
namespace {

namespace fs = std::filesystem;
using talveron::testing::TemporaryDirectory;

/// The check codes of the findings on each line.
using FindingsByLine = std::map<std::int64_t, std::multiset<OptionKey>>;

class FindingCollector final : public RunObserver {
public:
    void findingReported(const Finding& finding, const FindingPlace&) override {
        byLine[finding.lineNumber].insert(finding.code);
    }
    FindingsByLine byLine;
};

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
        FindingCollector collector;
        std::atomic<bool> active{true};
        ValidationRun run(inputs, clock, collector, active);
        const RunOutcome result = run.execute(load);
        EXPECT_EQ(result.status, RunStatus::Validated) << result.problem;
        if (outcome != nullptr) *outcome = result;
        return collector.byLine;
    }

    IniDocument document;
    GeneratorConfiguration configuration;
    OptionSettings options;
    ValueLists lists;
    SystemClock clock;
    TemporaryDirectory directory;
};

/// The lines of a text, split at LF, a CR before the LF removed.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::set<std::int64_t> LinesOf(const FindingsByLine& findings) {
    std::set<std::int64_t> lines;
    for (const auto& [line, codes] : findings) lines.insert(line);
    return lines;
}

std::set<std::int64_t> LinesOf(const std::vector<FaultyRecord>& faults) {
    std::set<std::int64_t> lines;
    for (const FaultyRecord& record : faults) lines.insert(record.line);
    return lines;
}

TEST_F(LoadGeneratorTest, TheConfigurationGivesLayoutsAndRadionuclidesThatFitTheField) {
    ASSERT_TRUE(configuration.usable());
    EXPECT_GT(configuration.radionuclides.size(), 50u);
    for (const std::string& nuclide : configuration.radionuclides) {
        EXPECT_LE(nuclide.size(), 7u) << nuclide;
        EXPECT_NE(nuclide.find('-'), std::string::npos) << nuclide;
    }
    EXPECT_NE(
        std::find(configuration.radionuclides.begin(), configuration.radionuclides.end(), "Tc-99m"),
        configuration.radionuclides.end());
}

TEST_F(LoadGeneratorTest, ASeedAlwaysGivesTheSameBytesAndAnotherSeedOthers) {
    const GeneratorSettings settings{3'000, FaultShare::OnePercent, 42, Shape::Normal};
    const std::string first = Generate(settings);
    EXPECT_EQ(Generate(settings), first);
    GeneratorSettings other = settings;
    other.seed = 43;
    EXPECT_NE(Generate(other), first);
}

TEST_F(LoadGeneratorTest, EveryRecordHasTheFullWidthOfItsLayoutAndEndsWithCrLf) {
    GeneratedFile file;
    const std::string bytes = Generate({5'000, FaultShare::None, 3, Shape::Normal}, &file);
    // Widths of the production layouts, as the data folder documents them.
    const std::map<char, std::size_t> widths{{'D', 200}, {'I', 64}, {'C', 282}};
    const std::vector<std::string_view> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 5'001u);
    EXPECT_EQ(file.lines, 5'001);
    EXPECT_EQ(file.bytes, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5'001);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 5'001);
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_EQ(lines.front().size(), 221u);

    std::map<char, std::int64_t> counts;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const char type = lines[i].size() > 40 ? lines[i][40] : 0;
        ASSERT_TRUE(widths.contains(type)) << "line " << i + 1;
        EXPECT_EQ(lines[i].size(), widths.at(type)) << "line " << i + 1;
        ++counts[type];
    }
    EXPECT_EQ(counts['D'], file.doseRecords);
    EXPECT_EQ(counts['I'], file.intakeRecords);
    EXPECT_EQ(counts['C'], file.commentRecords);
    EXPECT_GT(file.intakeRecords, 0);
    EXPECT_GT(file.commentRecords, 0);
}

TEST_F(LoadGeneratorTest, PeopleHaveOneToTwelveDoseRecordsAndIntakesFollowTheirDoseRecord) {
    const std::string bytes = Generate({20'000, FaultShare::None, 5, Shape::Normal});
    const std::vector<std::string_view> lines = Lines(bytes);
    std::map<std::string_view, int> doseRecords;  // by ID type and Employee_ID (columns 1-21)
    std::map<int, int> intakeRuns;                // intakes under one dose record -> how often
    std::string_view previousPerson;
    int intakes = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view person = lines[i].substr(0, 21);
        const char type = lines[i][40];
        if (type == 'D') {
            ++intakeRuns[intakes];
            intakes = 0;
            // Each person's records come together: a key seen before belongs to the person
            // just written.
            if (doseRecords.contains(person)) {
                EXPECT_EQ(person, previousPerson) << "line " << i + 1;
            }
            ++doseRecords[person];
            previousPerson = person;
        } else {
            EXPECT_EQ(person, previousPerson) << "line " << i + 1;
            if (type == 'I') ++intakes;
        }
    }
    ++intakeRuns[intakes];
    for (const auto& [person, count] : doseRecords) {
        EXPECT_GE(count, 1);
        EXPECT_LE(count, 12) << person;
    }
    std::set<int> sizes;
    for (const auto& [size, count] : intakeRuns) sizes.insert(size);
    EXPECT_EQ(sizes, (std::set<int>{0, 1, 2, 3}));
    // With as many people as that, both ends of the range occur.
    EXPECT_TRUE(std::any_of(doseRecords.begin(), doseRecords.end(),
                            [](const auto& entry) { return entry.second == 12; }));
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
    EXPECT_EQ(LinesOf(findings), LinesOf(file.faults));
}

/// The check each fault is made to trip.
OptionKey CheckOf(Fault fault) {
    switch (fault) {
        case Fault::LetterInPhone:
            return OptionKey::PIC;
        case Fault::LetterInSsn:
            return OptionKey::SSNNN;
        case Fault::SumMismatch:
            return OptionKey::DCSUM;
        case Fault::ZeroInsteadOfCode:
            return OptionKey::NRND;
        case Fault::InvalidSex:
            return OptionKey::SexList;
        case Fault::InvalidBirthMonth:
            return OptionKey::DIM;
        case Fault::BirthAfter1999:
            return OptionKey::BDay;
        case Fault::LowerCaseType:
            return OptionKey::IRT;
        case Fault::TestName:
            return OptionKey::NAMFLD;
        case Fault::NcInDde:
            return OptionKey::NCDDE;
        case Fault::MissingTrailingFields:
            return OptionKey::IRL;
        case Fault::LongPeriod:
            return OptionKey::MPGT;
        case Fault::NuclideWithoutHyphen:
            return OptionKey::VNVR;
        case Fault::ClassModeMismatch:
            return OptionKey::MODH;
        case Fault::CommaInIntake:
            return OptionKey::NVCIC;
        case Fault::EmptyComment:
            return OptionKey::LLMA;
    }
    return OptionKey::IRT;
}

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
        EXPECT_TRUE(found->second.contains(CheckOf(record.fault)))
            << "line " << record.line << ", fault " << static_cast<int>(record.fault);
    }
    EXPECT_EQ(seen.size(), 16u) << "every kind of fault occurs";
}

TEST_F(LoadGeneratorTest, OnePersonHasOnlyDoseRecordsAllWithABlankIdentifierAndTheSameKey) {
    GeneratedFile file;
    const std::string bytes = Generate({3'000, FaultShare::None, 19, Shape::OnePerson}, &file);
    EXPECT_EQ(file.doseRecords, 3'000);
    EXPECT_EQ(file.intakeRecords + file.commentRecords, 0);
    const std::vector<std::string_view> lines = Lines(bytes);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].substr(0, 21), "                  SSN") << "line " << i + 1;
    }
    // Each dose record gets the minimum-length error of its blank Employee_ID and, as the
    // periods of all 3,000 records overlap, the monitoring-period error; nothing else.
    const FindingsByLine findings = Validate(bytes);
    EXPECT_FALSE(findings.contains(1));
    const std::multiset<OptionKey> expected{OptionKey::LLMA, OptionKey::MDMP};
    for (std::int64_t line = 2; line <= 3'001; ++line) {
        const auto found = findings.find(line);
        ASSERT_NE(found, findings.end()) << "line " << line;
        EXPECT_EQ(found->second, expected) << "line " << line;
    }
}

TEST_F(LoadGeneratorTest, LongLinesCarryTenThousandMoreCharactersAndOnlyTheLengthFinding) {
    const std::string bytes = Generate({300, FaultShare::None, 23, Shape::LongLines});
    const std::vector<std::string_view> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 301u);
    for (const std::string_view line : lines) {
        ASSERT_GE(line.size(), 10'064u);
        EXPECT_NE(line.back(), ' ');
    }
    const FindingsByLine findings = Validate(bytes);
    ASSERT_EQ(findings.size(), 301u);
    for (const auto& [line, codes] : findings) {
        EXPECT_EQ(codes, std::multiset<OptionKey>{OptionKey::IRL}) << "line " << line;
    }
}

TEST_F(LoadGeneratorTest, LfOnlyIsTheSameFileWithoutTheCarriageReturns) {
    const std::string crLf = Generate({2'000, FaultShare::OnePercent, 29, Shape::Normal});
    const std::string lfOnly = Generate({2'000, FaultShare::OnePercent, 29, Shape::LfOnly});
    EXPECT_EQ(lfOnly.find('\r'), std::string::npos);
    std::string stripped = crLf;
    stripped.erase(std::remove(stripped.begin(), stripped.end(), '\r'), stripped.end());
    EXPECT_EQ(lfOnly, stripped);
    EXPECT_TRUE(Validate(Generate({2'000, FaultShare::None, 29, Shape::LfOnly})).empty());
}

TEST_F(LoadGeneratorTest, TheRecordCountIsExactAlsoForTinyFiles) {
    for (const std::int64_t records : {0, 1, 2, 3, 7}) {
        GeneratedFile file;
        const std::string bytes = Generate({records, FaultShare::None, 31, Shape::Normal}, &file);
        EXPECT_EQ(static_cast<std::int64_t>(Lines(bytes).size()), records + 1) << records;
        EXPECT_EQ(file.doseRecords + file.intakeRecords + file.commentRecords, records);
    }
}

}  // namespace
}  // namespace talveron::bench
