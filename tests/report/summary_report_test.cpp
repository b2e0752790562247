#include "report/summary_report.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace talveron {
namespace {

/// The inputs of one report, built through the register's public API; every check on.
struct ReportSetup {
    DoseRegister doses;
    HeaderValues header;
    OccurrenceTally tally;
    OptionSettings options = OptionSettings::Defaults();
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
    std::function<void(int)> progress;

    void addDose(std::string_view idType, std::string_view employeeId, double tede) {
        const DoseListEntry entry{.key = MakePersonKey(idType, employeeId), .tede = tede};
        doses.addDoses({&entry, 1});
    }
    void addDose(std::string_view employeeId, double tede) { addDose("1", employeeId, tede); }

    /// The inputs over this setup's members; seals the register first.
    SummaryInputs inputs() {
        doses.buildIndex();
        return SummaryInputs{
            doses,        header,  errors, warnings, tally, options, "C:\\DATA\\ACME.DAT",
            {2024, 3, 7}, progress};
    }

    std::string write() {
        std::ostringstream out;
        EXPECT_TRUE(WriteSummaryReport(out, ComputeSummaryFigures(inputs())));
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
constexpr std::size_t kRangeCount = 18;

/// The person counts of the range rows.
std::array<std::int64_t, kRangeCount> RangeCounts(const std::string& report) {
    const std::vector<std::string> lines = SplitLines(report);
    std::array<std::int64_t, kRangeCount> counts{};
    for (std::size_t range = 0; range < counts.size(); ++range) {
        counts[range] = std::stoll(lines.at(kFirstRangeLine + range).substr(40, 16));
    }
    return counts;
}

/// The line that begins with a caption.
std::string LineStartingWith(const std::string& report, std::string_view caption) {
    for (const std::string& line : SplitLines(report)) {
        if (line.starts_with(caption)) return line;
    }
    return "(no line " + std::string(caption) + ")";
}

/// Everything after the "Warnings:" status line.
std::string TailAfterWarnings(const std::string& report) {
    const std::size_t warnings = report.find("\r\nWarnings:");
    return report.substr(report.find("\r\n", warnings + 2) + 2);
}

TEST(SummaryReport, EachPersonIsCountedOnceInTheRangeOfTheirTotal) {
    struct Case {
        const char* name;
        std::vector<double> tedes;  // the records of one person
        std::size_t range;          // 1-based
    };
    // Where each total falls is the rule table report_ranges.rules; here, that a person's records
    // add up first.
    const Case cases[] = {
        {"negative", {-0.5}, 2},
        {"many small records add up", std::vector<double>(100000, 0.001), 18},
    };
    for (const Case& c : cases) {
        ReportSetup setup;
        for (const double tede : c.tedes) setup.addDose("P1", tede);
        const std::string report = setup.write();
        std::array<std::int64_t, kRangeCount> expected{};
        expected[c.range - 1] = 1;
        EXPECT_EQ(RangeCounts(report), expected) << c.name;
        // Every range but the first counts as measurable, negative totals included.
        EXPECT_EQ(LineStartingWith(report, "Number with Measurable:"),
                  "Number with Measurable:                 1               ")
            << c.name;
    }
}

TEST(SummaryReport, RangeSumsAndCollectiveAddEveryPersonButTheDoneMarker) {
    ReportSetup setup;
    // Keys beginning with "!" are reserved; a person under one would land in 5.000 - 6.000.
    setup.addDose("!", "X1", 5.0);
    setup.addDose("A", 0.3);
    setup.addDose("B", 0.4);
    setup.addDose("A", 0.1);
    setup.addDose("C", -0.05);
    setup.addDose("!", "X1", 5.0);
    const std::string report = setup.write();
    EXPECT_EQ(LineStartingWith(report, "Meas. - 0.100"),
              "Meas. - 0.100                           1                   -0.050");
    EXPECT_EQ(LineStartingWith(report, "0.250 - 0.500"),
              "0.250 - 0.500                           2                    0.800");
    EXPECT_EQ(LineStartingWith(report, "Total Collective TEDE (rem):"),
              "Total Collective TEDE (rem):                                 0.750");
    EXPECT_EQ(LineStartingWith(report, "Total Monitored:"),
              "Total Monitored:                        3               ");
}

TEST(SummaryReport, EmptyDoseListAndTotalsThatRoundToZero) {
    ReportSetup setup;
    // A tiny negative amount rounds to zero and is printed without a sign.
    setup.doses.addTotals(1234.5678, -0.0004);
    const std::string report = setup.write();
    EXPECT_EQ(RangeCounts(report), (std::array<std::int64_t, kRangeCount>{}));
    const std::vector<std::string> lines = SplitLines(report);
    EXPECT_EQ(lines.at(26), "Total Monitored:                        0               ");
    EXPECT_EQ(lines.at(27), "Total Collective TEDE (rem):                                 0.000");
    EXPECT_EQ(lines.at(28), "Total CDE:                                                   0.000");
    EXPECT_EQ(lines.at(29), "Total CEDE:                                               1234.568");
}

TEST(SummaryReport, LargeCountKeepsTheAmountColumn) {
    ReportSetup setup;
    for (int person = 0; person < 12345; ++person) setup.addDose(std::to_string(person), 0.5);
    const std::string report = setup.write();
    EXPECT_EQ(LineStartingWith(report, "0.500 - 0.750"),
              "0.500 - 0.750                           12345             6172.500");
    EXPECT_EQ(LineStartingWith(report, "Total Monitored:"),
              "Total Monitored:                        12345           ");
}

TEST(SummaryReport, ClosingNoteWhenACountedCheckIsOff) {
    const std::string note =
        "\r\n"
        "NOTE: The results of this validation report do not contain all validation \r\n"
        "      checks performed by Talveron.\r\n";
    struct Case {
        std::vector<std::pair<OptionKey, std::int16_t>> changes;  // on top of the defaults
        bool note;
    };
    const Case cases[] = {
        {{}, false},
        {{{OptionKey::BDay, 0}}, false},
        {{{OptionKey::IDTypeList, 0}}, false},
        {{{OptionKey::GRF, 0}, {OptionKey::ME_VAL, 0}}, false},
        {{{OptionKey::AICS, 1}}, false},
        {{{OptionKey::AIC, 0}}, true},
        {{{OptionKey::SGT50, 0}}, true},
        {{{OptionKey::VNVR, 0}}, true},
    };
    for (const Case& c : cases) {
        ReportSetup setup;
        setup.options.set(OptionKey::IOS, 0);
        for (const auto& [key, value] : c.changes) setup.options.set(key, value);
        EXPECT_EQ(TailAfterWarnings(setup.write()), c.note ? note : "")
            << (c.changes.empty() ? "none" : DefinitionOf(c.changes.back().first).name);
    }
    ReportSetup beforeTheFirstLoad;
    beforeTheFirstLoad.options = OptionSettings();
    EXPECT_EQ(TailAfterWarnings(beforeTheFirstLoad.write()), note);
}

TEST(SummaryReport, ProgressReportsWholePercentagesWhenTheyChange) {
    const auto distinctIds = [](int count) {
        std::vector<std::string> ids;
        for (int id = 0; id < count; ++id) ids.push_back("P" + std::to_string(id));
        return ids;
    };
    std::vector<int> everyPercent(101);
    std::iota(everyPercent.begin(), everyPercent.end(), 0);
    struct Case {
        const char* name;
        std::vector<std::string> ids;  // one dose record each, in list order
        std::vector<int> calls;
    };
    const Case cases[] = {
        {"a single entry", {"A"}, {}},
        {"halves round to even", distinctIds(9), {0, 12, 25, 38, 50, 62, 75, 88, 100}},
        {"repeats are not reported", distinctIds(401), everyPercent},
        {"later records of a person are skipped", {"A", "A", "B"}, {0, 100}},
    };
    for (const Case& c : cases) {
        ReportSetup setup;
        std::vector<int> calls;
        setup.progress = [&calls](int percent) { calls.push_back(percent); };
        for (const std::string& id : c.ids) setup.addDose(id, 0.2);
        setup.write();
        EXPECT_EQ(calls, c.calls) << c.name;
    }
}

TEST(SummaryReport, FailedStreamIsReported) {
    ReportSetup setup;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(WriteSummaryReport(out, ComputeSummaryFigures(setup.inputs())));
}

}  // namespace
}  // namespace talveron
