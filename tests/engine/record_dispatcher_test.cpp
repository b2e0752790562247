#include "engine/record_dispatcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "config/value_lists.h"
#include "engine/registration.h"
#include "engine_test_support.h"

namespace talveron {
namespace {

using testing::MakeRecord;
using testing::TypedLine;
using enum Level;

/// A finding as the writer receives it.
struct Written {
    Level level;
    std::string message;
    std::int64_t lineNumber;
    std::int32_t column;
    std::int32_t character;
    bool headerType = false;

    bool operator==(const Written&) const = default;
};

void PrintTo(const Written& w, std::ostream* out) {
    *out << LevelText(w.level) << " line " << w.lineNumber << " col " << w.column << " char "
         << w.character << (w.headerType ? " type H " : " ") << w.message;
}

using Findings = std::vector<Written>;

/// Keeps what the writer would receive and, when `context` is set, the record's tallies
/// (errors, warnings) at the moment of each call.
class CapturingSink : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace&) override {
        written.push_back({finding.level, std::string(finding.message), finding.lineNumber,
                           finding.column, finding.character, finding.headerType});
        if (context) talliesAtCall.emplace_back(context->errorCount(), context->warningCount());
    }

    const RecordContext* context = nullptr;
    Findings written;
    std::vector<std::pair<std::int64_t, std::int64_t>> talliesAtCall;
};

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest() {
        options.set(OptionKey::IRL, -1);
        options.set(OptionKey::IRT, -1);
    }

    LayoutTable layouts = testing::TestLayouts();
    KnownFields fields = KnownFields::Find(layouts);
    OptionSettings options;  // everything off but what a test switches on
    ValueLists lists = ValueLists::Load(testing::TestConfiguration());
    DoseRegister doses;
    LocalDateTime runStart{2024, 6, 15, 10, 30, 0};
    CheckEnvironment environment{layouts, options, lists, fields, doses, runStart, runStart};
    CapturingSink sink;
    RecordDispatcher dispatcher{environment, sink};
};

std::string Filled(std::size_t length) { return std::string(length, 'x'); }

TEST_F(DispatchTest, TheRecordLengthRuleAppliesTheLimitsOfTheType) {
    // Checks a record on line 7; `levels` are the level written and the tally of the one finding
    // expected, if any.
    const auto check = [this](const std::string& type, const std::string& record,
                              std::int64_t recordLength,
                              std::optional<std::pair<Level, Level>> levels) {
        SCOPED_TRACE("type '" + type + "', length " + std::to_string(recordLength));
        sink.written.clear();
        RecordContext context(environment, sink);
        context.begin(record, 7, type.empty() ? '\0' : type.front());
        CheckRecordLength(context, type, recordLength);
        const bool header = type == "H";
        const std::string message = "Invalid Record Length of  " + std::to_string(recordLength) +
                                    " for Type '" + type + "'";
        Findings expected;
        if (levels)
            expected.push_back(
                {levels->first, message, 7, header ? 0 : 5, header ? 1 : 41, header});
        EXPECT_EQ(sink.written, expected);
        EXPECT_EQ(context.errorCount(), levels && levels->second == Error ? 1 : 0);
        EXPECT_EQ(context.warningCount(), levels && levels->second == Warning ? 1 : 0);
    };
    // A text of `passes` characters is within the limit, its neighbour of `fails` is not; a
    // record too long counts as a warning, a header too short as an error.
    struct Limit {
        const char* type;
        std::size_t passes;
        std::size_t fails;
        Level level;
        Level tally;
    };
    for (const Limit& l :
         {Limit{"D", 198, 197, Error, Error}, Limit{"D", 200, 201, Error, Warning},
          Limit{"H", 181, 180, Warning, Error}, Limit{"H", 323, 324, Warning, Warning},
          Limit{"I", 56, 55, Error, Error}, Limit{"I", 66, 67, Error, Warning},
          Limit{"C", 41, 40, Error, Error}, Limit{"C", 282, 283, Error, Warning}}) {
        check(l.type, Filled(l.passes), static_cast<std::int64_t>(l.passes) + 2, std::nullopt);
        check(l.type, Filled(l.fails), static_cast<std::int64_t>(l.fails) + 2,
              std::pair(l.level, l.tally));
    }
    // Blanks around the text never make a record too long.
    check("D", Filled(198) + std::string(30, ' '), 230, std::nullopt);
    check("D", std::string(10, ' ') + Filled(200), 212, std::nullopt);
    // Too short and too long: one finding, tallied as too long.
    check("D", Filled(250), 150, std::pair(Error, Warning));
    check("D", Filled(40'001), 40'003, std::pair(Error, Warning));  // beyond 16-bit lengths
    // Unknown types, a lower-case d and no type have no rule.
    for (const char* type : {"X", "d", ""}) check(type, Filled(2), 4, std::nullopt);
    options.set(OptionKey::IRL, 0);
    check("D", Filled(10), 12, std::nullopt);
}

TEST_F(DispatchTest, AReportIsTalliedBeforeTheWriterSeesItAndPointsAtItsField) {
    RecordContext context(environment, sink);
    sink.context = &context;
    const std::string record = TypedLine('D', 198);  // the context keeps a view of it
    context.begin(record, 4, 'D');
    context.extract(RecordType::Dose);
    context.report({OptionKey::DGZ, Error, "an error"},
                   FindField(layouts.of(RecordType::Dose), "TEDE"));
    context.report({OptionKey::NRND, Warning, "a warning"}, 1);
    // A field the layout lacks: column 0, character 0.
    context.report({OptionKey::DGZ, Error, "m"}, 0);
    context.report({OptionKey::DGZ, Error, "m"}, 99);
    EXPECT_EQ(sink.written, (Findings{{Error, "an error", 4, 9, 70},
                                      {Warning, "a warning", 4, 1, 1},
                                      {Error, "m", 4, 0, 0},
                                      {Error, "m", 4, 0, 0}}));
    EXPECT_EQ(sink.talliesAtCall,
              (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 0}, {1, 1}, {2, 1}, {3, 1}}));
}

TEST_F(DispatchTest, LineOneIsTheHeaderWhateverItHoldsOtherLinesAreTypedByCharacter41) {
    const std::string doseLine =
        MakeRecord(layouts, RecordType::Dose, 198, {{"Employee_ID", "123456789"}});
    EXPECT_EQ(dispatcher.dispatch(doseLine, 1, 200).recordType, 'H');
    // Its values are cut by the header layout.
    EXPECT_EQ(dispatcher.header().licenseNo, "123456789");
    EXPECT_EQ(dispatcher.dispatch(TypedLine('D', 198), 2, 200).recordType, 'D');
    EXPECT_EQ(dispatcher.dispatch(TypedLine('I', 60), 3, 62).recordType, 'I');
    EXPECT_EQ(dispatcher.dispatch(TypedLine('C', 60), 4, 62).recordType, 'C');
    EXPECT_TRUE(sink.written.empty());
    EXPECT_EQ(dispatcher.dispatch(std::string(40, 'D'), 5, 42).recordType, '\0');
}

TEST_F(DispatchTest, AnInvalidTypeIsOneErrorAtTheTypeField) {
    options = OptionSettings::Defaults();  // every check on: none but the type finding may run
    const auto invalid = [this](const std::string& line, std::int64_t lineNumber, char type,
                                const char* message) {
        SCOPED_TRACE(message);
        sink.written.clear();
        const DispatchResult result = dispatcher.dispatch(line, lineNumber, RecordLength(line));
        EXPECT_EQ(result.recordType, type);
        EXPECT_EQ(result.errors, 1);
        EXPECT_EQ(result.warnings, 0);
        EXPECT_EQ(sink.written, (Findings{{Error, message, lineNumber, 5, 41}}));
    };
    invalid(TypedLine('X', 198), 2, 'X', "Invalid Record Type 'X'");
    invalid(TypedLine('d', 198), 3, 'd', "Invalid Record Type 'd'");
    invalid("", 4, '\0', "Invalid Record Type ''");
    invalid(std::string(40, 'D'), 5, '\0', "Invalid Record Type ''");
    invalid(TypedLine(' ', 198), 6, ' ', "Invalid Record Type ' '");
    // The tallies start from zero for every record.
    const DispatchResult clean = dispatcher.dispatch(TypedLine('D', 198), 7, 200);
    EXPECT_EQ(clean.errors + clean.warnings, 0);
    options.set(OptionKey::IRT, 0);
    sink.written.clear();
    const DispatchResult off = dispatcher.dispatch(TypedLine('X', 198), 8, 200);
    EXPECT_EQ(off.recordType, 'X');
    EXPECT_EQ(off.errors, 0);
    EXPECT_TRUE(sink.written.empty());
}

TEST_F(DispatchTest, ATooShortHeaderIsAWarningWithTypeHTalliedAsAnError) {
    const DispatchResult first = dispatcher.dispatch(std::string(100, 'x'), 1, 102);
    EXPECT_EQ(sink.written,
              (Findings{{Warning, "Invalid Record Length of  102 for Type 'H'", 1, 0, 1, true}}));
    EXPECT_EQ(first.errors, 1);
    EXPECT_EQ(first.warnings, 0);
    // After line 1 a header gets the header limits, then the type finding.
    sink.written.clear();
    const DispatchResult result = dispatcher.dispatch(TypedLine('H', 150), 5, 152);
    EXPECT_EQ(result.recordType, 'H');
    EXPECT_EQ(sink.written,
              (Findings{{Warning, "Invalid Record Length of  152 for Type 'H'", 5, 0, 1, true},
                        {Error, "Invalid Record Type 'H'", 5, 5, 41, true}}));
    // The too-short header counts as an error even though it is written as a warning.
    EXPECT_EQ(result.errors, 2);
    EXPECT_EQ(result.warnings, 0);
}

TEST_F(DispatchTest, HeaderValuesAreTrimmedAndAssociatedLicensesJoinTheFieldsAfterField6) {
    const auto header = [this](const char* field6, const char* field7, const char* field8) {
        RecordDispatcher fresh(environment, sink);
        fresh.dispatch(MakeRecord(layouts, RecordType::Header, 181,
                                  {{"License_No", "  12-345"},
                                   {"Licensee_Name", "Acme Isotopes"},
                                   {"Contact_Person", "J. Doe"},
                                   {"Assoc_License_1", field6},
                                   {"Assoc_License_2", field7},
                                   {"Assoc_License_3", field8}}),
                       1, 183);
        return fresh.header();
    };
    const HeaderValues values = header("A", "", "B");
    EXPECT_EQ(values.licenseNo, "12-345");
    EXPECT_EQ(values.licenseeName, "Acme Isotopes");
    EXPECT_EQ(values.contactPerson, "J. Doe");
    EXPECT_EQ(values.associatedLicenses, "A,B");
    EXPECT_EQ(header("", "B", "").associatedLicenses, ",B");
    EXPECT_EQ(header("A", "B", "C").associatedLicenses, "A,B,C");
    EXPECT_EQ(header("A", "", "").associatedLicenses, "A");
    EXPECT_EQ(header("", "", "").associatedLicenses, "");
    // Only line 1 holds them.
    dispatcher.dispatch(MakeRecord(layouts, RecordType::Header, 181, {{"License_No", "L1"}}), 1,
                        183);
    dispatcher.dispatch(MakeRecord(layouts, RecordType::Header, 181, {{"License_No", "L2"}}), 2,
                        183);
    EXPECT_EQ(dispatcher.header().licenseNo, "L1");
}

TEST_F(DispatchTest, AShortHeaderLeavesTheMissingValuesEmpty) {
    options.set(OptionKey::IRL, 0);
    dispatcher.dispatch(MakeRecord(layouts, RecordType::Header, 24,
                                   {{"License_No", "LIC-1"}, {"Licensee_Name", "Acme"}}),
                        1, 26);
    EXPECT_EQ(dispatcher.header().licenseNo, "LIC-1");
    EXPECT_EQ(dispatcher.header().licenseeName, "Acme");
    EXPECT_EQ(dispatcher.header().contactPerson, "");
    EXPECT_EQ(dispatcher.header().associatedLicenses, "");
}

class MonitoringPeriodTest : public DispatchTest {
protected:
    std::string Dose(const char* id, const char* start, const char* end) {
        return MakeRecord(layouts, RecordType::Dose, 198,
                          {{"Employee_ID", id},
                           {"ID_Type", "SSN"},
                           {"Monitoring_Start", start},
                           {"Monitoring_End", end}});
    }

    /// Registers the lines (from line 2) as the registration pass does, then dispatches them;
    /// returns the error tallies.
    std::vector<std::int64_t> Run(const std::vector<std::string>& lines) {
        DoseRegistration registration(layouts, fields, runStart, doses);
        for (std::size_t i = 0; i < lines.size(); ++i) registration.registerLine(lines[i], 2 + i);
        doses.buildIndex();
        std::vector<std::int64_t> errors;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            errors.push_back(
                dispatcher.dispatch(lines[i], 2 + static_cast<std::int64_t>(i), 200).errors);
        }
        return errors;
    }
};

TEST_F(MonitoringPeriodTest, OverlappingPeriodsOfOnePersonGiveEachRecordTheFinding) {
    options.set(OptionKey::MDMP, -1);
    EXPECT_EQ(Run({Dose("111", "20230101", "20230630"), Dose("111", "20230601", "20231231"),
                   Dose("222", "20230101", "20231231")}),
              (std::vector<std::int64_t>{1, 1, 0}));
    const char* message = "Multiple dose records for same monitoring period";
    EXPECT_EQ(sink.written, (Findings{{Error, message, 2, 5, 41}, {Error, message, 3, 5, 41}}));
}

TEST_F(MonitoringPeriodTest, SwitchedOffItIsNotChecked) {
    Run({Dose("111", "20230101", "20230630"), Dose("111", "20230601", "20231231")});
    EXPECT_TRUE(sink.written.empty());
}

}  // namespace
}  // namespace talveron
