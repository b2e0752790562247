#include "report/summary_report.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {
namespace {

OptionSettings AllChecksOn() {
    OptionSettings settings;
    for (std::size_t index = 0; index < kOptionCount; ++index) {
        settings.set(static_cast<OptionKey>(index), -1);
    }
    return settings;
}

/// The inputs of one report, built through the register's public API.
struct ReportSetup {
    DoseRegister doses;
    HeaderValues header;
    OccurrenceTally tally;
    OptionSettings options = AllChecksOn();
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
    std::function<void(int)> progress;

    void addDose(std::string_view employeeId, double tede) {
        doses.addDose(DoseListEntry{.key = MakePersonKey("1", employeeId), .tede = tede});
    }

    /// The inputs over this setup's members; seals the register first.
    SummaryInputs inputs() {
        doses.buildIndex();
        return SummaryInputs{.doses = doses,
                             .header = header,
                             .errorTotal = errors,
                             .warningTotal = warnings,
                             .tally = tally,
                             .options = options,
                             .loadPath = "C:\\DATA\\ACME.DAT",
                             .date = LocalDateTime{.year = 2024, .month = 3, .day = 7},
                             .progress = progress};
    }

    std::string write() {
        std::ostringstream out;
        EXPECT_TRUE(WriteSummaryReport(out, inputs()));
        return out.str();
    }
};

std::vector<std::string> SplitLines(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = report.find("\r\n"); end != std::string::npos;
         end = report.find("\r\n", start)) {
        lines.push_back(report.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, report.size()) << "the report must end with CR LF";
    return lines;
}

constexpr std::size_t kFirstRangeLine = 7;

/// The person counts of the eighteen range rows.
std::array<std::int64_t, 18> RangeCounts(const std::string& report) {
    const std::vector<std::string> lines = SplitLines(report);
    std::array<std::int64_t, 18> counts{};
    for (std::size_t range = 0; range < counts.size(); ++range) {
        counts[range] = std::stoll(lines.at(kFirstRangeLine + range).substr(40, 16));
    }
    return counts;
}

/// The line that begins with a caption.
std::string LineStartingWith(const std::string& report, std::string_view caption) {
    for (const std::string& line : SplitLines(report)) {
        if (line.starts_with(caption)) {
            return line;
        }
    }
    return "(no line " + std::string(caption) + ")";
}

/// Everything after the "Warnings:" status line.
std::string TailAfterWarnings(const std::string& report) {
    const std::size_t warnings = report.find("\r\nWarnings:");
    return report.substr(report.find("\r\n", warnings + 2) + 2);
}

TEST(SummaryReport, WholeReport) {
    ReportSetup setup;
    setup.header = {.licenseNo = "12-3456-01",
                    .licenseeName = "Acme Isotopes",
                    .contactPerson = "J. Smith",
                    .associatedLicenses = "12-3456-02,12-3456-03"};
    setup.addDose("A100", 0.060);
    setup.addDose("B200", 1.250);
    setup.addDose("A100", 0.050);
    setup.addDose("C300", 0);
    setup.addDose("B200", 0);
    setup.doses.addIntake({.doseLine = 3, .intakeLine = 4, .intake = 0.1});
    setup.doses.addIntake({.doseLine = 3, .intakeLine = 5, .intake = 0.2});
    setup.doses.addTotals(0.5, 1.0);
    setup.doses.addTotals(0.25, 1.25);
    setup.errors = 1234;
    setup.warnings = 2;
    setup.tally.add(Level::Error, "Zeta rule", 3);
    setup.tally.add(Level::Warning, "Name missing", 4);
    setup.tally.add(Level::Error, "Invalid SSN", 5);
    setup.tally.add(Level::Error, "Invalid SSN", 9);
    setup.tally.add(Level::Error, "Bad date", 12);
    setup.options.set(OptionKey::DBI, 0);

    const std::string expected =
        "03/07/2024\r\n"
        "File: C:\\DATA\\ACME.DAT\r\n"
        "License No: 12-3456-01\r\n"
        "Licensee Name: Acme Isotopes\r\n"
        "Contact Person: J. Smith\r\n"
        "Associated Licenses: 12-3456-02,12-3456-03\r\n"
        "                                        Number              TEDE\r\n"
        "No measurable exp.                      1                    0.000\r\n"
        "Meas. - 0.100                           0                    0.000\r\n"
        "0.100 - 0.250                           1                    0.110\r\n"
        "0.250 - 0.500                           0                    0.000\r\n"
        "0.500 - 0.750                           0                    0.000\r\n"
        "0.750 - 1.000                           0                    0.000\r\n"
        "1.000 - 2.000                           1                    1.250\r\n"
        "2.000 - 3.000                           0                    0.000\r\n"
        "3.000 - 4.000                           0                    0.000\r\n"
        "4.000 - 5.000                           0                    0.000\r\n"
        "5.000 - 6.000                           0                    0.000\r\n"
        "6.000 - 7.000                           0                    0.000\r\n"
        "7.000 - 8.000                           0                    0.000\r\n"
        "8.000 - 9.000                           0                    0.000\r\n"
        "9.000 - 10.00                           0                    0.000\r\n"
        "10.00 - 11.00                           0                    0.000\r\n"
        "11.00 - 12.00                           0                    0.000\r\n"
        "      > 12.00                           0                    0.000\r\n"
        "Number with Measurable:                 2               \r\n"
        "Total Monitored:                        3               \r\n"
        "Total Collective TEDE (rem):                                 1.360\r\n"
        "Total CDE:                                                   2.250\r\n"
        "Total CEDE:                                                  0.750\r\n"
        "Number of Intake Records:               2               \r\n"
        "\r\n"
        "Validation Status:\r\n"
        "Errors:                                 1,234\r\n"
        "Warnings:                               2\r\n"
        "\r\n"
        "Note: The results of this report are in question due to the errors\r\n"
        "      found during validation.\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "Error Occurrences\r\n"
        "\r\n"
        "First     Last                \r\n"
        "Line#     Line#     Count     Message\r\n"
        "-----     ----      -----     -------\r\n"
        "5         9         2         Invalid SSN\r\n"
        "12        12        1         Bad date\r\n"
        "3         3         1         Zeta rule\r\n"
        "\r\n"
        "Warning Occurrences\r\n"
        "\r\n"
        "4         4         1         Name missing\r\n"
        "\r\n"
        "NOTE: The results of this validation report do not contain all validation \r\n"
        "      checks performed by Talveron.\r\n";
    EXPECT_EQ(setup.write(), expected);
}

struct RangeCase {
    const char* name;
    std::vector<double> tedes;  // the records of one person
    std::size_t range;          // 1-based
    std::int64_t measurable;
};

class PersonRange : public testing::TestWithParam<RangeCase> {};

TEST_P(PersonRange, CountsThePersonOnceInItsRange) {
    ReportSetup setup;
    for (const double tede : GetParam().tedes) {
        setup.addDose("P1", tede);
    }
    const std::string report = setup.write();
    std::array<std::int64_t, 18> expected{};
    expected[GetParam().range - 1] = 1;
    EXPECT_EQ(RangeCounts(report), expected);
    EXPECT_EQ(LineStartingWith(report, "Total Monitored:"),
              "Total Monitored:                        1               ");
    EXPECT_EQ(LineStartingWith(report, "Number with Measurable:"),
              "Number with Measurable:                 " +
                  std::to_string(GetParam().measurable) + "               ");
}

INSTANTIATE_TEST_SUITE_P(
    SummaryReport, PersonRange,
    testing::Values(RangeCase{"TwoSmallRecordsAddUp", {0.060, 0.050}, 3, 1},
                    RangeCase{"OnlyNotReportedDoses", {0, 0}, 1, 0},
                    RangeCase{"Negative", {-0.5}, 2, 1},
                    RangeCase{"Tiny", {0.001}, 2, 1},
                    RangeCase{"AtSecondBound", {0.099}, 2, 1},
                    RangeCase{"AtThirdStart", {0.100}, 3, 1},
                    RangeCase{"AtThirdBound", {0.249}, 3, 1},
                    RangeCase{"AtFourthStart", {0.250}, 4, 1},
                    RangeCase{"JustAboveOne", {1.0005}, 7, 1},
                    RangeCase{"AtSeventeenthBound", {11.999}, 17, 1},
                    RangeCase{"BetweenBoundAndTwelve", {11.9995}, 17, 1},
                    RangeCase{"AtTwelve", {12.0}, 18, 1},
                    RangeCase{"FarAbove", {6.0, 7.5}, 18, 1}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST(SummaryReport, RangeSumsAndCollectiveAddEveryPerson) {
    ReportSetup setup;
    setup.addDose("A", 0.3);
    setup.addDose("B", 0.4);
    setup.addDose("A", 0.1);
    setup.addDose("C", -0.05);
    const std::string report = setup.write();
    EXPECT_EQ(LineStartingWith(report, "Meas. - 0.100"),
              "Meas. - 0.100                           1                   -0.050");
    EXPECT_EQ(LineStartingWith(report, "0.250 - 0.500"),
              "0.250 - 0.500                           2                    0.800");
    EXPECT_EQ(LineStartingWith(report, "Total Collective TEDE (rem):"),
              "Total Collective TEDE (rem):                                 0.750");
}

TEST(SummaryReport, AmountThatRoundsToZeroHasNoSign) {
    ReportSetup setup;
    setup.addDose("A", -0.0004);
    const std::string report = setup.write();
    EXPECT_EQ(LineStartingWith(report, "Meas. - 0.100"),
              "Meas. - 0.100                           1                    0.000");
}

TEST(SummaryReport, EmptyDoseList) {
    ReportSetup setup;
    const std::string report = setup.write();
    const std::vector<std::string> lines = SplitLines(report);
    for (std::size_t range = 0; range < 18; ++range) {
        const std::string& line = lines.at(kFirstRangeLine + range);
        EXPECT_EQ(line.substr(40), "0                    0.000") << line;
    }
    EXPECT_EQ(LineStartingWith(report, "Total Monitored:"),
              "Total Monitored:                        0               ");
    EXPECT_EQ(LineStartingWith(report, "Total Collective TEDE (rem):").substr(56), "     0.000");
}

TEST(SummaryReport, LargeCountKeepsTheAmountColumn) {
    ReportSetup setup;
    for (int person = 0; person < 12345; ++person) {
        setup.addDose(std::to_string(person), 0.5);
    }
    const std::string report = setup.write();
    EXPECT_EQ(LineStartingWith(report, "0.500 - 0.750"),
              "0.500 - 0.750                           12345             6172.500");
    EXPECT_EQ(LineStartingWith(report, "Total Monitored:"),
              "Total Monitored:                        12345           ");
}

TEST(SummaryReport, KeysStartingWithTheDoneMarkerAreNeverCounted) {
    ReportSetup setup;
    setup.doses.addDose(DoseListEntry{.key = MakePersonKey("!", "X1"), .tede = 5.0});
    setup.addDose("A", 0.3);
    setup.doses.addDose(DoseListEntry{.key = MakePersonKey("!", "X1"), .tede = 5.0});
    const std::string report = setup.write();
    std::array<std::int64_t, 18> expected{};
    expected[3] = 1;
    EXPECT_EQ(RangeCounts(report), expected);
    EXPECT_EQ(LineStartingWith(report, "Total Collective TEDE (rem):").substr(56), "     0.300");
}

TEST(SummaryReport, ManyRecordsOfOnePersonAreTotalledOnce) {
    ReportSetup setup;
    constexpr int kRecords = 100000;
    for (int record = 0; record < kRecords; ++record) {
        setup.addDose("SAME", 0.001);
    }
    const std::string report = setup.write();
    std::array<std::int64_t, 18> expected{};
    expected[17] = 1;
    EXPECT_EQ(RangeCounts(report), expected);
    EXPECT_EQ(LineStartingWith(report, "Total Collective TEDE (rem):").substr(56), "   100.000");
}

TEST(SummaryReport, HeaderAndIntakeLines) {
    ReportSetup setup;
    setup.header.associatedLicenses = "77-1";
    for (int intake = 0; intake < 3; ++intake) {
        setup.doses.addIntake({.doseLine = 0, .intakeLine = intake + 2, .intake = 1});
    }
    setup.doses.addTotals(1234.5678, -3.0);
    const std::vector<std::string> lines = SplitLines(setup.write());
    EXPECT_EQ(lines.at(0), "03/07/2024");
    EXPECT_EQ(lines.at(2), "License No: ");
    EXPECT_EQ(lines.at(5), "Associated Licenses: 77-1");
    EXPECT_EQ(lines.at(28), "Total CDE:                                                  -3.000");
    EXPECT_EQ(lines.at(29), "Total CEDE:                                               1234.568");
    EXPECT_EQ(lines.at(30), "Number of Intake Records:               3               ");
}

struct StatusCase {
    const char* name;
    std::int64_t errors;
    std::int64_t warnings;
    std::string tail;  // everything from the "Errors:" line on, IOS off
};

class ValidationStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(ValidationStatus, ErrorsAddTheNote) {
    ReportSetup setup;
    setup.options.set(OptionKey::IOS, 0);
    setup.errors = GetParam().errors;
    setup.warnings = GetParam().warnings;
    const std::string report = setup.write();
    EXPECT_EQ(report.substr(report.find("Errors:")), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    SummaryReport, ValidationStatus,
    testing::Values(
        StatusCase{"NoErrors", 0, 0,
                   "Errors:                                 0\r\n"
                   "Warnings:                               0\r\n"},
        StatusCase{"OneError", 1, 0,
                   "Errors:                                 1\r\n"
                   "Warnings:                               0\r\n"
                   "\r\n"
                   "Note: The results of this report are in question due to the errors\r\n"
                   "      found during validation.\r\n"},
        StatusCase{"GroupedTotals", 1234567, 1000,
                   "Errors:                                 1,234,567\r\n"
                   "Warnings:                               1,000\r\n"
                   "\r\n"
                   "Note: The results of this report are in question due to the errors\r\n"
                   "      found during validation.\r\n"}),
    [](const testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

TEST(SummaryReport, OccurrenceSummaryWithoutFindingsIsTwoEmptyLines) {
    ReportSetup setup;
    EXPECT_EQ(TailAfterWarnings(setup.write()), "\r\n\r\n");
}

TEST(SummaryReport, OnlyWarningsGiveTheWarningTableAlone) {
    ReportSetup setup;
    setup.tally.add(Level::Warning, "Name missing", 4);
    setup.tally.add(Level::Warning, "Odd sex", 8);
    setup.tally.add(Level::Warning, "Name missing", 10);
    setup.tally.add(Level::Warning, "Name missing", 12345);
    EXPECT_EQ(TailAfterWarnings(setup.write()),
              "\r\n"
              "\r\n"
              "\r\n"
              "Warning Occurrences\r\n"
              "\r\n"
              "4         12345     3         Name missing\r\n"
              "8         8         1         Odd sex\r\n");
}

TEST(SummaryReport, OccurrenceSummaryOffLeavesTheTalliesOut) {
    ReportSetup setup;
    setup.options.set(OptionKey::IOS, 0);
    setup.tally.add(Level::Error, "Bad date", 3);
    setup.tally.add(Level::Warning, "Name missing", 4);
    EXPECT_EQ(TailAfterWarnings(setup.write()), "");
}

TEST(SummaryReport, TheReportLeavesTheTallyAsItIs) {
    ReportSetup setup;
    setup.tally.add(Level::Error, "Bad date", 3);
    setup.write();
    EXPECT_EQ(setup.tally.ordered(Level::Error),
              (std::vector<TallyEntry>{{"Bad date", 1, 3, 3}}));
}

struct NoteCase {
    const char* name;
    std::vector<std::pair<OptionKey, std::int16_t>> changes;  // on top of every key at -1
    bool note;
};

class ClosingNote : public testing::TestWithParam<NoteCase> {};

TEST_P(ClosingNote, WrittenWhenACountedCheckIsOff) {
    ReportSetup setup;
    setup.options.set(OptionKey::IOS, 0);
    for (const auto& [key, value] : GetParam().changes) {
        setup.options.set(key, value);
    }
    const std::string note =
        "\r\n"
        "NOTE: The results of this validation report do not contain all validation \r\n"
        "      checks performed by Talveron.\r\n";
    EXPECT_EQ(TailAfterWarnings(setup.write()), GetParam().note ? note : "");
}

INSTANTIATE_TEST_SUITE_P(
    SummaryReport, ClosingNote,
    testing::Values(
        NoteCase{"AllOn", {}, false},
        NoteCase{"OnlyBDayOff", {{OptionKey::BDay, 0}}, false},
        NoteCase{"OneListSwitchOff", {{OptionKey::ModeList, 0}}, false},
        NoteCase{"FirstListSwitchOff", {{OptionKey::IDTypeList, 0}}, false},
        NoteCase{"OutputAndLimitOptionsOff",
                 {{OptionKey::GRF, 0}, {OptionKey::TE, 0}, {OptionKey::ME_VAL, 0}}, false},
        NoteCase{"PositiveValuesAreOn", {{OptionKey::AICS, 1}}, false},
        NoteCase{"AicsOff", {{OptionKey::AICS, 0}}, true},
        NoteCase{"FirstCheckOff", {{OptionKey::AIC, 0}}, true},
        NoteCase{"CheckAfterBDayOff", {{OptionKey::SGT50, 0}}, true},
        NoteCase{"LastCheckOff", {{OptionKey::VNVR, 0}}, true}),
    [](const testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });

TEST(SummaryReport, EverythingOffAsBeforeTheFirstLoadWritesTheNote) {
    ReportSetup setup;
    setup.options = OptionSettings();
    EXPECT_TRUE(setup.write().ends_with("      checks performed by Talveron.\r\n"));
}

struct ProgressCase {
    const char* name;
    std::vector<std::string> ids;  // one dose record each, in list order
    std::vector<int> calls;
};

class Progress : public testing::TestWithParam<ProgressCase> {};

TEST_P(Progress, ReportsWholePercentagesWhenTheyChange) {
    ReportSetup setup;
    std::vector<int> calls;
    setup.progress = [&calls](int percent) { calls.push_back(percent); };
    for (const std::string& id : GetParam().ids) {
        setup.addDose(id, 0.2);
    }
    setup.write();
    EXPECT_EQ(calls, GetParam().calls);
}

std::vector<std::string> DistinctIds(int count) {
    std::vector<std::string> ids;
    for (int id = 0; id < count; ++id) {
        ids.push_back("P" + std::to_string(id));
    }
    return ids;
}

std::vector<int> EveryPercent() {
    std::vector<int> percents;
    for (int percent = 0; percent <= 100; ++percent) {
        percents.push_back(percent);
    }
    return percents;
}

INSTANTIATE_TEST_SUITE_P(
    SummaryReport, Progress,
    testing::Values(ProgressCase{"Empty", {}, {}},
                    ProgressCase{"SingleEntry", {"A"}, {}},
                    ProgressCase{"ThreePersons", {"A", "B", "C"}, {0, 50, 100}},
                    ProgressCase{"HalvesRoundToEven", DistinctIds(9),
                                 {0, 12, 25, 38, 50, 62, 75, 88, 100}},
                    ProgressCase{"RepeatsAreNotReported", DistinctIds(401), EveryPercent()},
                    ProgressCase{"LaterRecordsOfAPersonAreSkipped", {"A", "A", "B"}, {0, 100}}),
    [](const testing::TestParamInfo<ProgressCase>& info) { return std::string(info.param.name); });

TEST(SummaryReport, FailedStreamIsReported) {
    ReportSetup setup;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(WriteSummaryReport(out, setup.inputs()));
}

}  // namespace
}  // namespace talveron
