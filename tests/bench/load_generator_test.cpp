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
        const CancelRequest cancel;
        ValidationRun run(inputs, clock, collector, cancel);
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

TEST_F(LoadGeneratorTest, TheConfigurationGivesLayoutsAndRadionuclidesThatFitTheField) {
    ASSERT_TRUE(configuration.usable());
    EXPECT_GT(configuration.radionuclides.size(), 50u);
    for (const std::string& nuclide : configuration.radionuclides) EXPECT_LE(nuclide.size(), 7u);
    EXPECT_EQ(std::count(configuration.radionuclides.begin(), configuration.radionuclides.end(),
                         "Tc-99m"),
              1);
}

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

TEST_F(LoadGeneratorTest, RecordsHaveTheirLayoutsWidthAndPeopleOneToTwelveDoseRecords) {
    GeneratedFile file;
    const std::string bytes = Generate({20'000, FaultShare::None, 5, Shape::Normal}, &file);
    // Widths of the production layouts, as the data folder documents them.
    const std::map<char, std::size_t> widths{{'D', 200}, {'I', 64}, {'C', 282}};
    const std::vector<std::string_view> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 20'001u);
    EXPECT_EQ(file.lines, 20'001);
    EXPECT_EQ(file.bytes, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 20'001);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 20'001);
    EXPECT_EQ(lines.front().size(), 221u);

    std::map<char, std::int64_t> counts;
    std::map<std::string_view, int> doseRecords;  // by ID type and Employee_ID (columns 1-21)
    std::set<int> intakeRuns;                     // sizes of the runs of intakes under a dose
    std::string_view previousPerson;
    int intakes = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const char type = lines[i].size() > 40 ? lines[i][40] : 0;
        ASSERT_TRUE(widths.contains(type)) << "line " << i + 1;
        EXPECT_EQ(lines[i].size(), widths.at(type)) << "line " << i + 1;
        ++counts[type];
        const std::string_view person = lines[i].substr(0, 21);
        if (type != 'D') {
            EXPECT_EQ(person, previousPerson) << "line " << i + 1;
            intakes += type == 'I' ? 1 : 0;
            continue;
        }
        intakeRuns.insert(intakes);
        intakes = 0;
        // Each person's records come together: a key seen before belongs to the person just
        // written.
        EXPECT_TRUE(!doseRecords.contains(person) || person == previousPerson) << "line " << i + 1;
        ++doseRecords[person];
        previousPerson = person;
    }
    intakeRuns.insert(intakes);
    EXPECT_EQ(counts['D'], file.doseRecords);
    EXPECT_EQ(counts['I'], file.intakeRecords);
    EXPECT_EQ(counts['C'], file.commentRecords);
    EXPECT_GT(file.commentRecords, 0);
    EXPECT_EQ(intakeRuns, (std::set<int>{0, 1, 2, 3}));
    int most = 0;
    for (const auto& [person, count] : doseRecords) most = std::max(most, count);
    // With as many people as that, the top of the range occurs.
    EXPECT_EQ(most, 12);
}

TEST_F(LoadGeneratorTest, TheRecordCountIsExactAlsoForTinyFiles) {
    for (const std::int64_t records : {0, 1, 2, 3, 7}) {
        GeneratedFile file;
        const std::string bytes = Generate({records, FaultShare::None, 31, Shape::Normal}, &file);
        EXPECT_EQ(static_cast<std::int64_t>(Lines(bytes).size()), records + 1) << records;
        EXPECT_EQ(file.doseRecords + file.intakeRecords + file.commentRecords, records);
    }
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

/// Every line from `first` to `last` has exactly the `codes`, and no other line has a finding.
void ExpectOnEveryLine(const FindingsByLine& findings, std::int64_t first, std::int64_t last,
                       const std::multiset<OptionKey>& codes) {
    ASSERT_EQ(findings.size(), static_cast<std::size_t>(last - first + 1));
    for (const auto& [line, found] : findings) {
        EXPECT_TRUE(line >= first && line <= last) << "line " << line;
        EXPECT_EQ(found, codes) << "line " << line;
    }
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
    ExpectOnEveryLine(Validate(bytes), 2, 3'001, {OptionKey::LLMA, OptionKey::MDMP});
}

TEST_F(LoadGeneratorTest, LongLinesCarryTenThousandMoreCharactersAndOnlyTheLengthFinding) {
    const std::string bytes = Generate({300, FaultShare::None, 23, Shape::LongLines});
    const std::vector<std::string_view> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 301u);
    for (const std::string_view line : lines) {
        ASSERT_GE(line.size(), 10'064u);
        EXPECT_NE(line.back(), ' ');
    }
    ExpectOnEveryLine(Validate(bytes), 1, 301, {OptionKey::IRL});
}

}  // namespace
}  // namespace talveron::bench
