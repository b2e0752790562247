#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "config/ini_document.h"
#include "engine/record_context.h"

namespace talveron::testing {

/// Field values by field name, for building a record line.
using FieldValues = std::vector<std::pair<std::string_view, std::string_view>>;

/// One field of an inline layout: name, width, type code, minimum length.
struct FieldShape {
    std::string_view name;
    std::int32_t len;
    std::string_view type = "NA";
    std::int32_t minimumLen = 0;
};

/// A layout as the loader builds it: 24-character names, 4-character types, one separator
/// character between neighbouring fields.
inline RecordLayout MakeLayout(std::initializer_list<FieldShape> shapes) {
    RecordLayout layout;
    std::int32_t start = 1;
    for (const FieldShape& shape : shapes) {
        layout.fields.push_back(
            DefineField(shape.name, shape.len, shape.type, start, shape.minimumLen));
        start += shape.len + 1;
    }
    return layout;
}

/// A record line with each named value written left-aligned at its field's start; every other
/// character is a blank.
inline std::string MakeLine(const RecordLayout& layout, const FieldValues& values) {
    const FieldDef& last = layout.fields.back();
    std::string line(static_cast<std::size_t>(last.start + last.len - 1), ' ');
    for (const auto& [name, value] : values) {
        const FieldDef& field = *layout.field(FindField(layout, name));
        line.replace(static_cast<std::size_t>(field.start - 1), value.size(), value);
    }
    return line;
}

/// A finding as the sink received it, copied out of the report call.
struct Recorded {
    OptionKey code;
    Level level;
    std::string message;
    std::int32_t column;
    std::int32_t character;
    std::int32_t spanFirst;
    std::int32_t spanLast;
};

class RecordingSink : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace& place) override {
        findings.push_back({finding.code, finding.level, std::string(finding.message),
                            finding.column, finding.character, place.spanFirst, place.spanLast});
    }

    std::vector<Recorded> findings;
};

/// A finding a test expects; an empty message is not compared.
struct Expected {
    OptionKey code;
    Level level;
    std::int32_t column;
    std::int32_t character;
    std::string_view message = {};
};

/// Everything a check needs around one record: layouts, options (all on), value lists, a dose
/// register and the two moments. Tests adjust the members, then run a check on a line.
class RecordFixture {
public:
    LayoutTable layouts;
    OptionSettings options = OptionSettings::Defaults();
    ValueLists lists = ValueLists::Load(IniDocument());
    DoseRegister doses;
    LocalDateTime runStart{2024, 6, 15, 10, 30, 0};
    LocalDateTime present{2024, 6, 15, 10, 30, 0};
    RecordingSink sink;
    std::string record;  ///< the line of the last check()
    /// The record's error and warning tallies after the last check() of a reporting check.
    std::pair<std::int64_t, std::int64_t> lastCounts{0, 0};

    RecordLayout& layout(RecordType type) { return layouts.of(type); }

    /// Every check on but these.
    void switchOff(const std::vector<OptionKey>& codes) {
        options = OptionSettings::Defaults();
        for (const OptionKey code : codes) options.set(code, 0);
    }

    /// Runs check(context) on a fresh line of these values, cut by the layout of its type, after
    /// emptying the sink; returns what the check returns.
    template <class Check>
    auto check(RecordType type, const FieldValues& values, Check check,
               std::int64_t lineNumber = 2) {
        sink.findings.clear();
        record = MakeLine(layouts.of(type), values);
        const KnownFields fields = KnownFields::Find(layouts);
        const CheckEnvironment environment{layouts, options,  lists,  fields,
                                           doses,   runStart, present};
        RecordContext context(environment, sink);
        context.begin(record, lineNumber, RecordTypeLetter(type));
        context.extract(type);
        if constexpr (!std::is_void_v<decltype(check(context))>) {
            return check(context);  // a predicate, which reports nothing
        } else {
            check(context);
            lastCounts = {context.errorCount(), context.warningCount()};
        }
    }

    /// The sink holds exactly the expected findings, in order, and the tallies agree with them.
    void expect(const std::vector<Expected>& expected) const {
        SCOPED_TRACE("record '" + record + "'");
        ASSERT_EQ(sink.findings.size(), expected.size());
        std::int64_t errors = 0;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Recorded& actual = sink.findings[i];
            SCOPED_TRACE("finding " + std::to_string(i + 1) + ": " + actual.message);
            EXPECT_EQ(actual.code, expected[i].code);
            EXPECT_EQ(actual.level, expected[i].level);
            EXPECT_EQ(actual.column, expected[i].column);
            EXPECT_EQ(actual.character, expected[i].character);
            if (!expected[i].message.empty()) {
                EXPECT_EQ(actual.message, expected[i].message);
            }
            if (expected[i].level == Level::Error) ++errors;
        }
        EXPECT_EQ(lastCounts.first, errors);
        EXPECT_EQ(lastCounts.second, static_cast<std::int64_t>(expected.size()) - errors);
    }
};

}  // namespace talveron::testing
