#include "report/personal_data_mask.h"

#include <algorithm>

#include "config/text.h"

namespace talveron {

namespace {

/// The bytes of a record that `span` covers, cut at the record's end.
std::string_view Part(std::string_view record, std::int32_t start, std::int32_t length) {
    if (length <= 0 || start < 1 || static_cast<std::size_t>(start) > record.size()) return {};
    return record.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

}  // namespace

char MaskedByte(char c) {
    if (c >= '0' && c <= '9') return '#';
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return 'X';
    return c;
}

std::string MaskedText(std::string_view text) {
    std::string masked(text);
    for (char& c : masked) c = MaskedByte(c);
    return masked;
}

std::string MaskedEmployeeId(std::string_view idType, std::string_view employeeId) {
    return idType == kMaskedIdType ? MaskedText(employeeId) : std::string(employeeId);
}

PersonalDataMask::PersonalDataMask(const LayoutTable& layouts) {
    const auto spanOf = [](const RecordLayout& layout, std::string_view name) {
        const int column = FindField(layout, name);
        const FieldDef* field = layout.field(column);
        return field == nullptr || field->len <= 0 ? Span{}
                                                   : Span{field->start, field->len, column};
    };
    for (const RecordType type : {RecordType::Dose, RecordType::Intake, RecordType::Comment}) {
        const RecordLayout& layout = layouts.of(type);
        TypeFields fields{
            RecordTypeLetter(type), spanOf(layout, "Employee_ID"), spanOf(layout, "ID_Type"), {}};
        if (type == RecordType::Dose) {
            for (const std::string_view name :
                 {"First_Name", "Last_Name", "Middle_Initial", "Birth_Date"})
                fields.always.push_back(spanOf(layout, name));
        }
        types_.push_back(std::move(fields));
    }
}

std::string PersonalDataMask::apply(std::string_view record, char recordType,
                                    std::int32_t keep) const {
    std::string masked(record);
    const TypeFields* fields = fieldsOf(recordType);
    if (fields == nullptr) return masked;
    const auto hide = [&](Span span) {
        const std::string_view part = Part(record, span.start, span.length);
        const auto first = static_cast<std::size_t>(span.start - 1);
        for (std::size_t i = first; i < first + part.size(); ++i) {
            if (static_cast<std::int32_t>(i + 1) != keep) masked[i] = MaskedByte(masked[i]);
        }
    };
    for (const Span span : fields->always) hide(span);
    if (TrimSpaces(Part(record, fields->idType.start, fields->idType.length)) == kMaskedIdType)
        hide(fields->employeeId);
    return masked;
}

std::string PersonalDataMask::applyToValue(std::string_view value, char recordType,
                                           std::int32_t column, std::string_view idType) const {
    const TypeFields* fields = fieldsOf(recordType);
    if (fields == nullptr || column <= 0) return std::string(value);
    const bool personal =
        std::any_of(fields->always.begin(), fields->always.end(),
                    [&](const Span& span) { return span.column == column; }) ||
        (fields->employeeId.column == column && TrimSpaces(idType) == kMaskedIdType);
    return personal ? MaskedText(value) : std::string(value);
}

const PersonalDataMask::TypeFields* PersonalDataMask::fieldsOf(char recordType) const {
    const auto fields = std::find_if(types_.begin(), types_.end(),
                                     [&](const TypeFields& f) { return f.type == recordType; });
    return fields == types_.end() ? nullptr : &*fields;
}

}  // namespace talveron
