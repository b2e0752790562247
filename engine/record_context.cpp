#include "engine/record_context.h"

#include <algorithm>

#include "config/number.h"

namespace talveron {

RecordContext::RecordContext(const CheckEnvironment& environment, FindingSink& sink)
    : environment_(environment),
      sink_(sink),
      checkPlan_(environment.layouts, environment.options),
      days_(environment.runStart) {
    std::size_t longest = 0;
    for (const RecordType type :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        longest = std::max(longest, checkPlan_.of(type).steps.size());
    }
    values_.resize(longest);
    cache_.resize(longest + 1);
}

void RecordContext::begin(std::string_view record, std::int64_t lineNumber, char recordType) {
    record_ = record;
    lineNumber_ = lineNumber;
    recordType_ = recordType;
    layout_ = nullptr;
    plan_ = nullptr;
    valueCount_ = 0;
    ++recordStamp_;
    errorCount_ = 0;
    warningCount_ = 0;
}

void RecordContext::extract(RecordType type) {
    plan_ = &checkPlan_.of(type);
    layout_ = plan_->layout;
    ExtractFields(record_, *plan_, values_);
    valueCount_ = plan_->steps.size();
}

void RecordContext::readNumber(Cached& slot, int ordinal) const {
    slot.number = ParseNumber(value(ordinal));
    slot.numberOf = recordStamp_;
}

void RecordContext::readDate(Cached& slot, int ordinal) const {
    slot.date = ReadCalendarDate(value(ordinal));
    slot.dateOf = recordStamp_;
}

void RecordContext::report(const Rule& rule, int ordinal, std::int32_t character,
                           std::string_view message, Span span) {
    deliver(rule.level, rule, ordinal, character, message, span, false);
}

void RecordContext::report(const Rule& rule, int ordinal) {
    const std::int32_t start = fieldStart(ordinal);
    deliver(rule.level, rule, start == 0 ? 0 : ordinal, start, rule.message, Span::Field, false);
}

void RecordContext::reportTallied(Level tally, const Rule& rule, int ordinal,
                                  std::int32_t character, std::string_view message,
                                  bool headerType) {
    deliver(tally, rule, ordinal, character, message, Span::Field, headerType);
}

void RecordContext::deliver(Level tally, const Rule& rule, int ordinal, std::int32_t character,
                            std::string_view message, Span span, bool headerType) {
    (tally == Level::Error ? errorCount_ : warningCount_) += 1;

    Finding finding;
    finding.code = rule.code;
    finding.level = rule.level;
    finding.message = message;
    finding.lineNumber = lineNumber_;
    finding.column = ordinal;
    finding.character = character;
    finding.headerType = headerType;
    finding.record = record_;
    finding.counted = tally;

    FindingPlace place;
    place.recordType = recordType_;
    place.spanFirst = character;
    place.spanLast = character;
    const FieldDef* field = layout_ ? layout_->field(ordinal) : nullptr;
    if (field != nullptr) {
        place.fieldName = field->trimmedName;
        place.value = value(ordinal);
        if (span == Span::Field && field->len > 0) {
            place.spanFirst = field->start;
            place.spanLast = field->start + field->len - 1;
        }
    }
    sink_.writeFinding(finding, place);
}

}  // namespace talveron
