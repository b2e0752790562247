#include "config/record_layout.h"

#include <algorithm>
#include <string>
#include <utility>

#include "config/number.h"

namespace talveron {
namespace {

constexpr std::size_t kNameWidth = 24;
constexpr std::size_t kTypeWidth = 4;
constexpr std::string_view kEndOfLayout = "X";
// Field ordinals are 16-bit. The bound also keeps every start and end position of a layout, at
// most 32767 fields of at most 32767 characters, within 32 bits.
constexpr int kMaxFields = 32767;

constexpr std::array<std::pair<std::string_view, FieldType>, 10> kTypeCodes{{
    {"Date", FieldType::Date},
    {"A   ", FieldType::Alpha},
    {"AS  ", FieldType::AlphaSpace},
    {"Fon ", FieldType::Phone},
    {"AN  ", FieldType::AlphaNumeric},
    {"List", FieldType::List},
    {"LN  ", FieldType::LastName},
    {"Dose", FieldType::Dose},
    {"Nuc ", FieldType::Radionuclide},
    {"E   ", FieldType::Scientific},
}};

constexpr std::array<RecordType, 4> kLoadOrder{RecordType::Header, RecordType::Comment,
                                               RecordType::Dose, RecordType::Intake};

// A text of exactly `width` characters: cut, or padded with blanks.
std::string FitTo(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A width that does not fit the 16-bit range leaves the member at 0.
std::int32_t ReadWidth(const IniDocument& configuration, std::string_view section,
                       std::string_view key, std::string_view defaultValue) {
    return ParseInt16(ReadProfileValue(configuration, section, key, defaultValue)).value_or(0);
}

FieldDef ReadField(const IniDocument& configuration, const std::string& name, std::int32_t start) {
    return DefineField(name, ReadWidth(configuration, name, "Len", "-1"),
                       ReadProfileValue(configuration, name, "Type", "NA"), start,
                       ReadWidth(configuration, name, "MinimumLen", "0"));
}

RecordLayout ReadLayout(const IniDocument& configuration, RecordType type) {
    RecordLayout layout;
    const std::string section(1, RecordTypeLetter(type));
    std::int32_t start = 1;
    for (int ordinal = 1; ordinal <= kMaxFields; ++ordinal) {
        const std::string name =
            ReadProfileValue(configuration, section, std::to_string(ordinal), kEndOfLayout);
        if (name == kEndOfLayout) break;
        layout.fields.push_back(ReadField(configuration, name, start));
        // One separator character follows every field.
        start += layout.fields.back().len + 1;
    }
    return layout;
}

}  // namespace

FieldType FieldTypeOf(std::string_view typeCode4) {
    const auto it = std::find_if(kTypeCodes.begin(), kTypeCodes.end(),
                                 [&](const auto& code) { return code.first == typeCode4; });
    return it == kTypeCodes.end() ? FieldType::None : it->second;
}

FieldDef DefineField(std::string_view name, std::int32_t len, std::string_view typeCode,
                     std::int32_t start, std::int32_t minimumLen) {
    FieldDef field;
    field.name = FitTo(std::string(name), kNameWidth);
    field.trimmedName = TrimSpaces(field.name);
    field.len = len;
    field.type = FitTo(std::string(typeCode), kTypeWidth);
    field.fieldType = FieldTypeOf(field.type);
    field.start = start;
    field.minimumLen = minimumLen;
    if (field.fieldType == FieldType::List) {
        field.reportedList = ValueListOfSection(field.trimmedName + "_List");
    }
    return field;
}

char RecordTypeLetter(RecordType type) {
    switch (type) {
        case RecordType::Header:
            return 'H';
        case RecordType::Comment:
            return 'C';
        case RecordType::Dose:
            return 'D';
        case RecordType::Intake:
            return 'I';
    }
    return '?';
}

bool LayoutTable::usable() const {
    return std::all_of(layouts.begin(), layouts.end(),
                       [](const RecordLayout& layout) { return layout.count() > 0; });
}

int LayoutTable::totalFieldCount() const {
    int total = 0;
    for (const RecordLayout& layout : layouts) total += layout.count();
    return total;
}

LayoutTable LoadRecordLayouts(const IniDocument& configuration) {
    LayoutTable table;
    for (const RecordType type : kLoadOrder) table.of(type) = ReadLayout(configuration, type);
    return table;
}

int FindField(const RecordLayout& layout, std::string_view name) {
    for (int ordinal = 1; ordinal <= layout.count(); ++ordinal) {
        if (layout.field(ordinal)->trimmedName == name) return ordinal;
    }
    return 0;
}

const RecordLayout* LayoutOfType(const LayoutTable& layouts, std::string_view type) {
    for (const RecordType recordType :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        if (type.size() == 1 && type.front() == RecordTypeLetter(recordType)) {
            return &layouts.of(recordType);
        }
    }
    return nullptr;
}

FieldSpan LocateField(const LayoutTable& layouts, std::string_view type, int column) {
    const RecordLayout* layout = LayoutOfType(layouts, type);
    const FieldDef* field = layout == nullptr ? nullptr : layout->field(column);
    if (field == nullptr) return {};
    return {field->start, field->len};
}

}  // namespace talveron
