#include "engine/record_dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/value_lists.h"
#include "engine/registration.h"
#include "engine_test_support.h"

namespace talveron {
namespace {

using testing::MakeRecord;
using testing::TypedLine;

/// A finding as the writer would receive it, with the record's tallies at the moment of the call.
struct Written {
    Level level;
    std::string message;
    std::int64_t lineNumber;
    std::int32_t column;
    std::int32_t character;
    bool headerType;
    std::int64_t errorsAtCall;
    std::int64_t warningsAtCall;
};

class CapturingSink : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace&) override {
        written.push_back({finding.level, std::string(finding.message), finding.lineNumber,
                           finding.column, finding.character, finding.headerType,
                           context ? context->errorCount() : -1,
                           context ? context->warningCount() : -1});
    }

    const RecordContext* context = nullptr;
    std::vector<Written> written;
};

class DispatchFixture : public ::testing::Test {
protected:
    DispatchFixture() {
        options.set(OptionKey::IRL, -1);
        options.set(OptionKey::IRT, -1);
    }

    CheckEnvironment environment() {
        return {layouts, options, lists, fields, doses, runStart, runStart};
    }

    LayoutTable layouts = testing::TestLayouts();
    KnownFields fields = KnownFields::Find(layouts);
    OptionSettings options;  // everything off but what a test switches on
    ValueLists lists = ValueLists::Load(testing::TestConfiguration());
    DoseRegister doses;
    LocalDateTime runStart{2024, 6, 15, 10, 30, 0};
    CapturingSink sink;
};

// ---- CheckRecordLength ---------------------------------------------------------------------

struct LengthCase {
    const char* what;
    std::string type;
    std::string record;
    std::int64_t recordLength;
    // Expected finding, if any.
    bool finding;
    Level level = Level::Error;
    Level tally = Level::Error;
};

std::string Filled(std::size_t length) { return std::string(length, 'x'); }
std::string Trailing(std::size_t text, std::size_t blanks) {
    return std::string(text, 'x') + std::string(blanks, ' ');
}

class RecordLengthTest : public DispatchFixture,
                         public ::testing::WithParamInterface<LengthCase> {};

TEST_P(RecordLengthTest, AppliesTheLimitsOfTheType) {
    const LengthCase& c = GetParam();
    const CheckEnvironment env = environment();
    RecordContext context(env, sink);
    sink.context = &context;
    context.begin(c.record, 7, c.type.empty() ? '\0' : c.type.front());
    CheckRecordLength(context, c.type, c.recordLength);
    if (!c.finding) {
        EXPECT_TRUE(sink.written.empty()) << c.what;
        EXPECT_EQ(context.errorCount() + context.warningCount(), 0);
        return;
    }
    ASSERT_EQ(sink.written.size(), 1u) << c.what;
    const Written& w = sink.written.front();
    EXPECT_EQ(w.message, "Invalid Record Length of  " + std::to_string(c.recordLength) +
                             " for Type '" + c.type + "'");
    EXPECT_EQ(w.level, c.level) << c.what;
    const bool header = c.type == "H";
    EXPECT_EQ(w.column, header ? 0 : 5);
    EXPECT_EQ(w.character, header ? 1 : 41);
    EXPECT_EQ(w.headerType, header);
    EXPECT_EQ(w.lineNumber, 7);
    EXPECT_EQ(context.errorCount(), c.tally == Level::Error ? 1 : 0) << c.what;
    EXPECT_EQ(context.warningCount(), c.tally == Level::Warning ? 1 : 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RecordLengthTest,
    ::testing::Values(LengthCase{"dose of 198 characters", "D", Filled(198), 200, false},
                      LengthCase{"dose of 197 characters", "D", Filled(197), 199, true,
                                 Level::Error, Level::Error},
                      LengthCase{"dose of 150 characters", "D", Filled(150), 152, true,
                                 Level::Error, Level::Error},
                      LengthCase{"dose of 200 characters", "D", Filled(200), 202, false},
                      LengthCase{"dose of 201 characters, written as ERROR, tallied as warning",
                                 "D", Filled(201), 203, true, Level::Error, Level::Warning},
                      LengthCase{"trailing blanks never make a record too long", "D",
                                 Trailing(198, 30), 230, false},
                      LengthCase{"leading blanks are trimmed as well", "D",
                                 std::string(10, ' ') + Filled(200), 212, false},
                      LengthCase{"too short and too long: one finding, tallied as too long", "D",
                                 Filled(250), 150, true, Level::Error, Level::Warning},
                      LengthCase{"header of 181 characters", "H", Filled(181), 183, false},
                      LengthCase{"header of 180 characters: WARNING tallied as error", "H",
                                 Filled(180), 182, true, Level::Warning, Level::Error},
                      LengthCase{"header of 323 characters", "H", Filled(323), 325, false},
                      LengthCase{"header of 324 characters", "H", Filled(324), 326, true,
                                 Level::Warning, Level::Warning},
                      LengthCase{"intake of 56 characters", "I", Filled(56), 58, false},
                      LengthCase{"intake of 55 characters", "I", Filled(55), 57, true, Level::Error,
                                 Level::Error},
                      LengthCase{"intake of 66 characters", "I", Filled(66), 68, false},
                      LengthCase{"intake of 67 characters", "I", Filled(67), 69, true, Level::Error,
                                 Level::Warning},
                      LengthCase{"comment at its minimum", "C", Filled(41), 43, false},
                      LengthCase{"comment below its minimum", "C", Filled(41), 42, true,
                                 Level::Error, Level::Error},
                      LengthCase{"comment of 282 characters", "C", Filled(282), 284, false},
                      LengthCase{"comment of 283 characters", "C", Filled(283), 285, true,
                                 Level::Error, Level::Warning},
                      LengthCase{"a line beyond 16-bit lengths", "D", Filled(40'001), 40'003, true,
                                 Level::Error, Level::Warning},
                      LengthCase{"unknown type has no rule", "X", Filled(2), 4, false},
                      LengthCase{"lower-case d has no rule", "d", Filled(2), 4, false},
                      LengthCase{"empty type has no rule", "", "", 2, false}));

TEST_F(DispatchFixture, RecordLengthRuleSwitchedOffWritesAndTalliesNothing) {
    options.set(OptionKey::IRL, 0);
    const CheckEnvironment env = environment();
    RecordContext context(env, sink);
    context.begin(Filled(10), 3, 'D');
    CheckRecordLength(context, "D", 12);
    EXPECT_TRUE(sink.written.empty());
    EXPECT_EQ(context.errorCount(), 0);
}

// ---- RecordContext reporting ------------------------------------------------------------------

TEST_F(DispatchFixture, AReportIsTalliedBeforeTheWriterSeesIt) {
    const CheckEnvironment env = environment();
    RecordContext context(env, sink);
    sink.context = &context;
    context.begin(TypedLine('D', 198), 4, 'D');
    context.extract(layouts.of(RecordType::Dose));
    const Rule error{OptionKey::DGZ, Level::Error, "an error"};
    const Rule warning{OptionKey::NRND, Level::Warning, "a warning"};
    context.report(error, FindField(layouts.of(RecordType::Dose), "TEDE"));
    context.report(warning, 1);
    ASSERT_EQ(sink.written.size(), 2u);
    EXPECT_EQ(sink.written[0].errorsAtCall, 1);
    EXPECT_EQ(sink.written[0].warningsAtCall, 0);
    EXPECT_EQ(sink.written[1].errorsAtCall, 1);
    EXPECT_EQ(sink.written[1].warningsAtCall, 1);
    // A fixed-message report points at the start of its field.
    EXPECT_EQ(sink.written[0].column, 9);
    EXPECT_EQ(sink.written[0].character, 70);
    EXPECT_EQ(sink.written[0].message, "an error");
    EXPECT_EQ(sink.written[1].column, 1);
    EXPECT_EQ(sink.written[1].character, 1);
}

TEST_F(DispatchFixture, AReportOnAFieldTheLayoutLacksPointsAtColumnZeroCharacterZero) {
    const CheckEnvironment env = environment();
    RecordContext context(env, sink);
    context.begin(TypedLine('I', 60), 9, 'I');
    context.extract(layouts.of(RecordType::Intake));
    const Rule rule{OptionKey::DGZ, Level::Error, "m"};
    context.report(rule, 0);
    context.report(rule, 99);
    ASSERT_EQ(sink.written.size(), 2u);
    for (const Written& w : sink.written) {
        EXPECT_EQ(w.column, 0);
        EXPECT_EQ(w.character, 0);
    }
    EXPECT_EQ(context.errorCount(), 2);
}

// ---- DispatchRecord ----------------------------------------------------------------------------

TEST_F(DispatchFixture, LineOneIsTheHeaderWhateverItHolds) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const std::string doseLine =
        MakeRecord(layouts, RecordType::Dose, 198, {{"Employee_ID", "123456789"}});
    const DispatchResult result = dispatcher.dispatch(doseLine, 1, 200);
    EXPECT_EQ(result.recordType, 'H');
    EXPECT_TRUE(sink.written.empty());
    // Its values are cut by the header layout.
    EXPECT_EQ(dispatcher.header().licenseNo, "123456789");
}

TEST_F(DispatchFixture, OtherLinesAreTypedByCharacter41) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    EXPECT_EQ(dispatcher.dispatch(TypedLine('D', 198), 2, 200).recordType, 'D');
    EXPECT_EQ(dispatcher.dispatch(TypedLine('I', 60), 3, 62).recordType, 'I');
    EXPECT_EQ(dispatcher.dispatch(TypedLine('C', 60), 4, 62).recordType, 'C');
    EXPECT_TRUE(sink.written.empty());
    EXPECT_EQ(dispatcher.dispatch(std::string(40, 'D'), 5, 42).recordType, '\0');
}

struct TypeCase {
    const char* what;
    std::string line;
    std::int64_t lineNumber;
    char type;
    const char* message;
};

class InvalidTypeTest : public DispatchFixture, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(InvalidTypeTest, IsOneErrorAtTheTypeField) {
    const TypeCase& c = GetParam();
    options = OptionSettings::Defaults();  // every check on: none but the type finding may run
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const DispatchResult result =
        dispatcher.dispatch(c.line, c.lineNumber, static_cast<std::int64_t>(c.line.size()) + 2);
    EXPECT_EQ(result.recordType, c.type);
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(result.warnings, 0);
    ASSERT_EQ(sink.written.size(), 1u) << c.what;
    EXPECT_EQ(sink.written[0].message, c.message);
    EXPECT_EQ(sink.written[0].level, Level::Error);
    EXPECT_EQ(sink.written[0].column, 5);
    EXPECT_EQ(sink.written[0].character, 41);
    EXPECT_EQ(sink.written[0].lineNumber, c.lineNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Types, InvalidTypeTest,
    ::testing::Values(
        TypeCase{"unknown letter", TypedLine('X', 198), 2, 'X', "Invalid Record Type 'X'"},
        TypeCase{"lower-case d", TypedLine('d', 198), 3, 'd', "Invalid Record Type 'd'"},
        TypeCase{"blank line", "", 4, '\0', "Invalid Record Type ''"},
        TypeCase{"short line", std::string(40, 'D'), 5, '\0', "Invalid Record Type ''"},
        TypeCase{"blank at 41", TypedLine(' ', 198), 6, ' ', "Invalid Record Type ' '"}));

TEST_F(DispatchFixture, InvalidTypeSwitchedOffWritesAndTalliesNothing) {
    options.set(OptionKey::IRT, 0);
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const DispatchResult result = dispatcher.dispatch(TypedLine('X', 198), 2, 200);
    EXPECT_EQ(result.recordType, 'X');
    EXPECT_EQ(result.errors, 0);
    EXPECT_TRUE(sink.written.empty());
}

TEST_F(DispatchFixture, AHeaderAfterLineOneGetsHeaderLimitsThenTheTypeFinding) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const DispatchResult result = dispatcher.dispatch(TypedLine('H', 150), 5, 152);
    EXPECT_EQ(result.recordType, 'H');
    ASSERT_EQ(sink.written.size(), 2u);
    EXPECT_EQ(sink.written[0].message, "Invalid Record Length of  152 for Type 'H'");
    EXPECT_EQ(sink.written[0].level, Level::Warning);
    EXPECT_EQ(sink.written[0].column, 0);
    EXPECT_EQ(sink.written[0].character, 1);
    EXPECT_EQ(sink.written[1].message, "Invalid Record Type 'H'");
    EXPECT_EQ(sink.written[1].level, Level::Error);
    EXPECT_EQ(sink.written[1].column, 5);
    EXPECT_EQ(sink.written[1].character, 41);
    // The too-short header counts as an error even though it is written as a warning.
    EXPECT_EQ(result.errors, 2);
    EXPECT_EQ(result.warnings, 0);
}

TEST_F(DispatchFixture, ATooShortHeaderOnLineOneIsAWarningWithTypeH) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const DispatchResult result = dispatcher.dispatch(std::string(100, 'x'), 1, 102);
    ASSERT_EQ(sink.written.size(), 1u);
    EXPECT_EQ(sink.written[0].level, Level::Warning);
    EXPECT_TRUE(sink.written[0].headerType);
    EXPECT_EQ(sink.written[0].column, 0);
    EXPECT_EQ(sink.written[0].character, 1);
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(result.warnings, 0);
}

TEST_F(DispatchFixture, TalliesStartFromZeroForEveryRecord) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    EXPECT_EQ(dispatcher.dispatch(TypedLine('X', 198), 2, 200).errors, 1);
    const DispatchResult clean = dispatcher.dispatch(TypedLine('D', 198), 3, 200);
    EXPECT_EQ(clean.errors, 0);
    EXPECT_EQ(clean.warnings, 0);
}

struct HeaderCase {
    const char* what;
    const char* field6;
    const char* field7;
    const char* field8;
    const char* associated;
};

class HeaderValuesTest : public DispatchFixture,
                         public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderValuesTest, AssociatedLicensesJoinTheNonEmptyFieldsAfterField6) {
    const HeaderCase& c = GetParam();
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const std::string header = MakeRecord(layouts, RecordType::Header, 181,
                                          {{"License_No", "  12-345"},
                                           {"Report_Period", "2023"},
                                           {"Licensee_Name", "Acme Isotopes"},
                                           {"Contact_Person", "J. Doe"},
                                           {"Contact_Phone", "5551234"},
                                           {"Assoc_License_1", c.field6},
                                           {"Assoc_License_2", c.field7},
                                           {"Assoc_License_3", c.field8}});
    dispatcher.dispatch(header, 1, 183);
    EXPECT_EQ(dispatcher.header().licenseNo, "12-345");
    EXPECT_EQ(dispatcher.header().licenseeName, "Acme Isotopes");
    EXPECT_EQ(dispatcher.header().contactPerson, "J. Doe");
    EXPECT_EQ(dispatcher.header().associatedLicenses, c.associated) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Fields, HeaderValuesTest,
                         ::testing::Values(HeaderCase{"A, nothing, B", "A", "", "B", "A,B"},
                                           HeaderCase{"nothing, B", "", "B", "", ",B"},
                                           HeaderCase{"all three", "A", "B", "C", "A,B,C"},
                                           HeaderCase{"only field 6", "A", "", "", "A"},
                                           HeaderCase{"none", "", "", "", ""}));

TEST_F(DispatchFixture, HeaderValuesComeFromLineOneOnly) {
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    dispatcher.dispatch(MakeRecord(layouts, RecordType::Header, 181, {{"License_No", "L1"}}), 1,
                        183);
    dispatcher.dispatch(MakeRecord(layouts, RecordType::Header, 181, {{"License_No", "L2"}}), 2,
                        183);
    EXPECT_EQ(dispatcher.header().licenseNo, "L1");
}

TEST_F(DispatchFixture, AShortHeaderLeavesTheMissingValuesEmpty) {
    options.set(OptionKey::IRL, 0);
    const CheckEnvironment env = environment();
    RecordDispatcher dispatcher(env, sink);
    const std::string header = MakeRecord(layouts, RecordType::Header, 24,
                                          {{"License_No", "LIC-1"}, {"Licensee_Name", "Acme"}});
    dispatcher.dispatch(header, 1, 26);
    EXPECT_EQ(dispatcher.header().licenseNo, "LIC-1");
    EXPECT_EQ(dispatcher.header().licenseeName, "Acme");
    EXPECT_EQ(dispatcher.header().contactPerson, "");
    EXPECT_EQ(dispatcher.header().associatedLicenses, "");
}

// ---- The monitoring-period finding --------------------------------------------------------------

class MonitoringPeriodTest : public DispatchFixture {
protected:
    std::string Dose(const char* id, const char* start, const char* end) {
        return MakeRecord(layouts, RecordType::Dose, 198,
                          {{"Employee_ID", id},
                           {"ID_Type", "SSN"},
                           {"Monitoring_Start", start},
                           {"Monitoring_End", end}});
    }

    /// Registers the lines (from line 2) as the registration pass does, then dispatches them.
    std::vector<DispatchResult> Run(const std::vector<std::string>& lines) {
        DoseRegistration registration(layouts, fields, runStart, doses);
        for (std::size_t i = 0; i < lines.size(); ++i) registration.registerLine(lines[i], 2 + i);
        doses.buildIndex();
        const CheckEnvironment env = environment();
        RecordDispatcher dispatcher(env, sink);
        std::vector<DispatchResult> results;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            results.push_back(dispatcher.dispatch(lines[i], 2 + static_cast<std::int64_t>(i), 200));
        }
        return results;
    }
};

TEST_F(MonitoringPeriodTest, OverlappingPeriodsOfOnePersonGiveEachRecordTheFinding) {
    options.set(OptionKey::MDMP, -1);
    const auto results =
        Run({Dose("111", "20230101", "20230630"), Dose("111", "20230601", "20231231"),
             Dose("222", "20230101", "20231231")});
    ASSERT_EQ(sink.written.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(sink.written[i].message, "Multiple dose records for same monitoring period");
        EXPECT_EQ(sink.written[i].level, Level::Error);
        EXPECT_EQ(sink.written[i].column, 5);
        EXPECT_EQ(sink.written[i].character, 41);
        EXPECT_EQ(sink.written[i].lineNumber, static_cast<std::int64_t>(2 + i));
        EXPECT_EQ(results[i].errors, 1);
    }
    EXPECT_EQ(results[2].errors, 0);
}

TEST_F(MonitoringPeriodTest, SwitchedOffItIsNotChecked) {
    Run({Dose("111", "20230101", "20230630"), Dose("111", "20230601", "20231231")});
    EXPECT_TRUE(sink.written.empty());
}

}  // namespace
}  // namespace talveron
