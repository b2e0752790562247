#include "engine/record_context.h"

#include <algorithm>
#include <cstring>

#include "config/number.h"

namespace talveron {

namespace {

constexpr std::uint8_t kNumberRead = 1;
constexpr std::uint8_t kDateRead = 2;

}  // namespace

std::string_view FieldValue(std::string_view record, const FieldDef& field) {
    if (field.len <= 0 || field.start < 1) return {};
    const auto first = static_cast<std::size_t>(field.start - 1);
    if (first >= record.size()) return {};
    const char* begin = record.data() + first;
    const char* end = begin + std::min(record.size() - first, static_cast<std::size_t>(field.len));
    while (begin != end && *begin == ' ') ++begin;
    // Fields are blank-padded on the right: drop the padding eight blanks at a time.
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
    for (std::uint64_t word; end - begin >= 8; end -= 8) {
        std::memcpy(&word, end - 8, sizeof word);
        if (word != kEightBlanks) break;
    }
    while (end != begin && end[-1] == ' ') --end;
    return {begin, static_cast<std::size_t>(end - begin)};
}

void ExtractFields(std::string_view record, const RecordLayout& layout,
                   std::vector<std::string_view>& values) {
    values.clear();
    for (const FieldDef& field : layout.fields) values.push_back(FieldValue(record, field));
}

RecordContext::RecordContext(const CheckEnvironment& environment, FindingSink& sink)
    : environment_(environment), sink_(sink) {}

void RecordContext::begin(std::string_view record, std::int64_t lineNumber, char recordType) {
    record_ = record;
    lineNumber_ = lineNumber;
    recordType_ = recordType;
    layout_ = nullptr;
    values_.clear();
    known_.assign(1, 0);
    errorCount_ = 0;
    warningCount_ = 0;
}

void RecordContext::extract(const RecordLayout& layout) {
    layout_ = &layout;
    ExtractFields(record_, layout, values_);
    known_.assign(values_.size() + 1, 0);
    numbers_.resize(values_.size() + 1);
    dates_.resize(values_.size() + 1);
}

double RecordContext::number(int ordinal) const {
    const std::size_t slot = ordinal >= 1 && static_cast<std::size_t>(ordinal) < known_.size()
                                 ? static_cast<std::size_t>(ordinal)
                                 : 0;
    if (slot == 0) return 0;
    if (!(known_[slot] & kNumberRead)) {
        numbers_[slot] = ParseNumber(value(ordinal));
        known_[slot] |= kNumberRead;
    }
    return numbers_[slot];
}

const DateParts& RecordContext::dateParts(int ordinal) const {
    static const DateParts kNone{};
    const std::size_t slot = ordinal >= 1 && static_cast<std::size_t>(ordinal) < known_.size()
                                 ? static_cast<std::size_t>(ordinal)
                                 : 0;
    if (slot == 0) return kNone;
    if (!(known_[slot] & kDateRead)) {
        dates_[slot] = ReadDateParts(value(ordinal));
        known_[slot] |= kDateRead;
    }
    return dates_[slot];
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
