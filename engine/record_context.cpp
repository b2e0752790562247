#include "engine/record_context.h"

namespace talveron {

namespace {

/// The raw text of a field: its width from its start, shorter or empty where the line ends.
std::string_view FieldText(std::string_view record, const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    const auto first = static_cast<std::size_t>(field.start - 1);
    if (first >= record.size()) return {};
    return record.substr(first, static_cast<std::size_t>(field.len));
}

}  // namespace

void ExtractFields(std::string_view record, const RecordLayout& layout,
                   std::vector<std::string_view>& values) {
    values.clear();
    for (const FieldDef& field : layout.fields) values.push_back(TrimSpaces(FieldText(record, field)));
}

RecordContext::RecordContext(const CheckEnvironment& environment, FindingSink& sink)
    : environment_(environment), sink_(sink) {}

void RecordContext::begin(std::string_view record, std::int64_t lineNumber, char recordType) {
    record_ = record;
    lineNumber_ = lineNumber;
    recordType_ = recordType;
    layout_ = nullptr;
    values_.clear();
    errorCount_ = 0;
    warningCount_ = 0;
}

void RecordContext::extract(const RecordLayout& layout) {
    layout_ = &layout;
    ExtractFields(record_, layout, values_);
}

std::string_view RecordContext::value(int ordinal) const {
    if (ordinal < 1 || static_cast<std::size_t>(ordinal) > values_.size()) return {};
    return values_[static_cast<std::size_t>(ordinal - 1)];
}

std::int32_t RecordContext::fieldStart(int ordinal) const {
    const FieldDef* field = layout_ ? layout_->field(ordinal) : nullptr;
    return field ? field->start : 0;
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
