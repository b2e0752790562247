// The pieces the generator builds records from: dose texts and amounts, monitoring periods,
// intakes and the fixed-width record writer.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "bench/date_text.h"
#include "bench/dose_amounts.h"
#include "bench/intake_draw.h"
#include "bench/monitoring_periods.h"
#include "bench/random_stream.h"
#include "bench/record_writer.h"

namespace talveron::bench {
namespace {

struct DoseTextCase {
    std::int32_t thousandths;
    std::string_view text;
};

TEST(DoseText, WritesThreeDecimalsAndTheZeroCodeForZero) {
    const DoseTextCase cases[] = {{1, "0.001"},    {46, "0.046"},     {999, "0.999"},
                                  {1000, "1.000"}, {12500, "12.500"}, {50000, "50.000"},
                                  {0, "NR"}};
    for (const DoseTextCase& c : cases) {
        DoseDigits digits;
        EXPECT_EQ(DoseText(c.thousandths, "NR", digits), c.text) << c.thousandths;
    }
}

/// The value of a dose text in thousandths; codes read as 0.
std::int32_t Thousandths(std::string_view text) {
    if (text.starts_with('N')) return 0;
    std::int32_t value = 0;
    for (const char c : text) {
        if (c != '.') value = value * 10 + (c - '0');
    }
    return value;
}

TEST(DoseAmounts, ManyDrawsKeepTheLimitsTheSumsAndTheCodes) {
    RandomStream random(5);
    DoseTextSet texts;
    for (int i = 0; i < 20'000; ++i) {
        const bool withIntake = i % 4 == 0;
        const DoseAmounts doses = DrawDoseAmounts(random, withIntake);
        const DoseTexts t = texts.write(doses);
        SCOPED_TRACE("draw " + std::to_string(i));
        EXPECT_EQ(Thousandths(t.tede), Thousandths(t.dde) + Thousandths(t.cede));
        EXPECT_LE(Thousandths(t.tede), 5000);
        EXPECT_LE(Thousandths(t.dde), 5000);
        EXPECT_LE(Thousandths(t.lde), 15000);
        EXPECT_LE(Thousandths(t.sdeWb), 50000);
        EXPECT_LE(Thousandths(t.sdeMe), 50000);
        EXPECT_LE(Thousandths(t.tode), 50000);
        EXPECT_EQ(withIntake, doses.cede > 0);
        EXPECT_TRUE(doses.cede == 0 || doses.cde > 0) << doses.cede << " " << doses.cde;
        if (t.cde == "NC" || t.tode == "NC") {
            EXPECT_EQ(t.cde, t.tode);
        } else {
            EXPECT_EQ(Thousandths(t.tode), Thousandths(t.dde) + Thousandths(t.cde));
        }
        EXPECT_NE(t.tede, "NR");
        EXPECT_NE(t.tede, "NC");
    }
}

TEST(MonitoringPeriods, EveryCountGivesWholeMonthsThatFollowOneAnotherWithinTheYear) {
    RandomStream random(9);
    PeriodPlan plan;
    for (int count = 1; count <= kMaxPeriodsPerPerson; ++count) {
        for (int round = 0; round < 50; ++round) {
            const auto periods = PlanMonitoringPeriods(2024, count, random, plan);
            ASSERT_EQ(periods.size(), static_cast<std::size_t>(count));
            SCOPED_TRACE("count " + std::to_string(count));
            EXPECT_EQ(View(periods.back().end), "20241231");
            EXPECT_TRUE(View(periods.front().start).starts_with("2024"));
            EXPECT_TRUE(View(periods.front().start).ends_with("01"));
            for (std::size_t i = 0; i < periods.size(); ++i) {
                EXPECT_LT(View(periods[i].start), View(periods[i].end));
                if (i == 0) continue;
                // The day after the previous end is the first of the next month.
                const std::string_view end = View(periods[i - 1].end);
                const int month = std::stoi(std::string(end.substr(4, 2)));
                EXPECT_EQ(end.substr(6), std::to_string(DaysInMonth(2024, month)));
                EXPECT_EQ(View(periods[i].start), View(MakeDateText(2024, month + 1, 1)));
            }
        }
    }
    EXPECT_EQ(View(PlanMonitoringPeriods(2024, 12, random, plan)[1].end), "20240229");
}

TEST(DateText, WritesEightDigitsAndKnowsLeapYears) {
    EXPECT_EQ(View(MakeDateText(1950, 3, 7)), "19500307");
    const int cases[][3] = {{2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28},
                            {2000, 2, 29}, {2024, 4, 30}, {2024, 12, 31}};
    for (const auto& [year, month, days] : cases) {
        EXPECT_EQ(DaysInMonth(year, month), days) << year << '-' << month;
    }
}

TEST(IntakeDraw, ClassAndModeAgreeAndTheAmountIsScientific) {
    RandomStream random(3);
    const std::vector<std::string> nuclides{"I-131", "H-3"};
    for (int i = 0; i < 2'000; ++i) {
        const IntakeDraw intake = DrawIntake(nuclides, random);
        const std::string_view amount(intake.amount.data(), intake.amount.size());
        EXPECT_TRUE(intake.radionuclide == "I-131" || intake.radionuclide == "H-3");
        if (intake.mode == 'G') {
            EXPECT_EQ(intake.intakeClass, 'G');
        } else {
            EXPECT_EQ(intake.mode, 'H');
            EXPECT_NE(std::string_view("DFSYWVOM").find(intake.intakeClass),
                      std::string_view::npos);
        }
        EXPECT_NE(amount[0], '0') << amount;
        EXPECT_EQ(amount.substr(1, 1), ".");
        EXPECT_EQ(amount.substr(3, 1), "E");
        EXPECT_NE(std::string_view("+-").find(amount[4]), std::string_view::npos) << amount;
    }
}

TEST(RadionuclideChoices, KeepsValidElementMassKeysThatFit) {
    const IniDocument configuration(
        "[Radionuclide_List]\nI-131=Iodine\nTc-99m=Technetium\nCo60=no hyphen\n"
        "Pu-239m2=too long\nXe-133=\nU-238=$\n-3=no element\nH-3=Tritium\n");
    EXPECT_EQ(RadionuclideChoices(configuration, 7),
              (std::vector<std::string>{"I-131", "Tc-99m", "H-3"}));
    EXPECT_EQ(RadionuclideChoices(configuration, 4), (std::vector<std::string>{"H-3"}));
}

/// A field at `start` of width `len`; the other members do not matter to the writer.
FieldDef Field(std::int32_t start, std::int32_t len) {
    FieldDef field;
    field.start = start;
    field.len = len;
    return field;
}

TEST(RecordWriter, WritesFieldsAtTheirStartsCutToTheirWidths) {
    RecordLayout layout;
    layout.fields = {Field(1, 3), Field(5, 2), Field(8, -1)};
    EXPECT_EQ(LayoutWidth(layout), 6u);
    RecordWriter writer(layout);
    EXPECT_EQ(writer.line(), "      ");
    writer.set(1, "ABCD");
    writer.set(2, "x");
    writer.set(0, "ignored");
    writer.set(3, "ignored");
    EXPECT_EQ(writer.line(), "ABC x ");
    EXPECT_EQ(writer.field(1), "ABC");
    writer.set(1, "Z");
    EXPECT_EQ(writer.line(), "Z   x ");
    writer.clear();
    EXPECT_EQ(writer.line(), "      ");
}

TEST(RandomStream, StaysWithinItsBoundsBothIncluded) {
    RandomStream random(77);
    std::set<std::int32_t> seen;
    for (int i = 0; i < 1'000; ++i) seen.insert(random.between(-3, 2));
    EXPECT_EQ(seen, (std::set<std::int32_t>{-3, -2, -1, 0, 1, 2}));
    EXPECT_EQ(random.below(1), 0u);
}

}  // namespace
}  // namespace talveron::bench
