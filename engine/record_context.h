#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/text.h"
#include "config/value_lists.h"
#include "engine/calendar.h"
#include "engine/check_plan.h"
#include "engine/date_value.h"
#include "engine/dose_register.h"
#include "engine/finding.h"
#include "engine/known_fields.h"
#include "engine/rule.h"

namespace talveron {

/// What the checks of a run consult besides the record itself; fixed for the main pass except
/// `present`, which the run moves forward as the clock does.
struct CheckEnvironment {
    const LayoutTable& layouts;
    const OptionSettings& options;
    const ValueLists& lists;
    const KnownFields& fields;
    const DoseRegister& doses;
    LocalDateTime runStart;
    const LocalDateTime& present;  ///< the moment date checks compare with
};

/// Where every reported finding goes (results file, tally, displays).
class FindingSink {
public:
    virtual ~FindingSink() = default;
    virtual void writeFinding(const Finding& finding, const FindingPlace& place) = 0;
};

/// The record being checked (RecordValues and the two tallies) and the one way checks report.
/// Reporting adds one to the tally of the rule's level before the finding is handed to the sink,
/// so a finding counts even when the output options keep it out of the results file.
class RecordContext {
public:
    /// Compiles the environment's layouts and options into the plan records are checked by: the
    /// options are read here, once.
    RecordContext(const CheckEnvironment& environment, FindingSink& sink);

    /// Starts a record: tallies to 0, no values, no layout.
    void begin(std::string_view record, std::int64_t lineNumber, char recordType);
    /// The record is the dose record at this position among the dose records of the file, as the
    /// registration pass counted them (every line with "D" in character 41).
    void setDosePosition(std::size_t position) { dosePosition_ = position; }
    std::size_t dosePosition() const { return dosePosition_; }
    /// Where the intake register's last search for a dose record of this context ended; the
    /// records come in line order, so the next search starts there.
    std::size_t& intakeSearchStart() { return intakeSearchStart_; }
    /// Cuts the record into trimmed field values by the layout of a record type (field
    /// extraction).
    void extract(RecordType type);

    const CheckEnvironment& environment() const { return environment_; }
    /// Day numbers against the environment's run start.
    const DayCounter& days() const { return days_; }
    bool on(OptionKey code) const { return environment_.options.on(code); }

    std::string_view record() const { return record_; }
    std::int64_t lineNumber() const { return lineNumber_; }
    /// The type the dispatcher gave the record: 'H' on line 1, else character 41 (0 when none).
    char recordType() const { return recordType_; }
    /// The layout the values were cut by; nullptr before extract().
    const RecordLayout* layout() const { return layout_; }
    /// The compiled steps of that layout, one per field in layout order; none before extract().
    std::span<const FieldStep> steps() const {
        return plan_ ? std::span<const FieldStep>(plan_->steps) : std::span<const FieldStep>{};
    }
    /// The trimmed value of field k (1-based); empty for 0 or a field the layout lacks.
    std::string_view value(int ordinal) const {
        return ordinal >= 1 && static_cast<std::size_t>(ordinal) <= valueCount_
                   ? values_[static_cast<std::size_t>(ordinal - 1)]
                   : std::string_view{};
    }
    std::span<const std::string_view> values() const { return {values_.data(), valueCount_}; }
    /// Start of field k in the current layout; 0 when the layout lacks it.
    std::int32_t fieldStart(int ordinal) const {
        const FieldDef* field = layout_ ? layout_->field(ordinal) : nullptr;
        return field ? field->start : 0;
    }
    /// The number of field k's value (ParseNumber), read once per record however many checks ask.
    double number(int ordinal) const {
        Cached* slot = cached(ordinal);
        if (slot == nullptr) return 0;
        if (slot->numberOf != recordStamp_) readNumber(*slot, ordinal);
        return slot->number;
    }
    /// Field k's value read as a date, once per record.
    const CalendarDate& date(int ordinal) const {
        static const CalendarDate kNone{};
        Cached* slot = cached(ordinal);
        if (slot == nullptr) return kNone;
        if (slot->dateOf != recordStamp_) readDate(*slot, ordinal);
        return slot->date;
    }

    /// Reports a finding of the rule on field `ordinal` at `character` with a composed message.
    /// Checks test their code with on() before they report.
    void report(const Rule& rule, int ordinal, std::int32_t character, std::string_view message,
                Span span = Span::Field);
    /// Reports the rule's fixed message against the start of field `ordinal`; against column 0
    /// and character 0 when the layout lacks the field.
    void report(const Rule& rule, int ordinal);
    /// Reports with the tally chosen apart from the level written (the record-length rule), and
    /// with the record type passed to the writer.
    void reportTallied(Level tally, const Rule& rule, int ordinal, std::int32_t character,
                       std::string_view message, bool headerType);

    std::int64_t errorCount() const { return errorCount_; }
    std::int64_t warningCount() const { return warningCount_; }

private:
    void deliver(Level tally, const Rule& rule, int ordinal, std::int32_t character,
                 std::string_view message, Span span, bool headerType);

    /// What number() and date() read of one field, each stamped with the record it is of.
    struct Cached {
        double number = 0;
        CalendarDate date;
        std::uint64_t numberOf = 0;
        std::uint64_t dateOf = 0;
    };
    // The first read of a field in a record; the later ones find the cache filled.
    void readNumber(Cached& slot, int ordinal) const;
    void readDate(Cached& slot, int ordinal) const;
    /// The cache slot of field k; nullptr for a field the layout lacks.
    Cached* cached(int ordinal) const {
        return ordinal >= 1 && static_cast<std::size_t>(ordinal) <= valueCount_
                   ? &cache_[static_cast<std::size_t>(ordinal)]
                   : nullptr;
    }

    const CheckEnvironment& environment_;
    FindingSink& sink_;
    const CheckPlan checkPlan_;
    const DayCounter days_;
    std::string_view record_;
    std::int64_t lineNumber_ = 0;
    char recordType_ = 0;
    const RecordLayout* layout_ = nullptr;
    const LayoutPlan* plan_ = nullptr;
    std::size_t dosePosition_ = 0;
    std::size_t intakeSearchStart_ = 0;
    std::vector<std::string_view> values_;  // room for the longest layout; valueCount_ are set
    std::size_t valueCount_ = 0;
    std::uint64_t recordStamp_ = 0;  // counts begin(): a cache entry of another stamp is stale
    mutable std::vector<Cached> cache_;
    std::int64_t errorCount_ = 0;
    std::int64_t warningCount_ = 0;
};

}  // namespace talveron
