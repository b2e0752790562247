#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_document.h"
#include "config/value_lists.h"

namespace talveron {

/// The rule a field's type code selects. Codes are compared by their 4-character form with
/// letter case, so "date" or "NA" select no rule.
enum class FieldType {
    None,
    Date,
    Alpha,
    AlphaSpace,
    Phone,
    AlphaNumeric,
    List,
    LastName,
    Dose,
    Radionuclide,
    Scientific
};

/// The type rule of a 4-character type code.
FieldType FieldTypeOf(std::string_view typeCode4);

/// One field of a record layout.
struct FieldDef {
    std::string name;         ///< exactly 24 characters: cut or blank-padded
    std::string trimmedName;  ///< name without surrounding blanks (what lookups compare)
    std::int32_t len = 0;     ///< width; -1 when the definition has no "Len", 0 when out of range
    std::string type;         ///< exactly 4 characters: cut or blank-padded
    FieldType fieldType = FieldType::None;
    std::int32_t start = 1;  ///< 1-based position of the first character in the line
    std::int32_t minimumLen = 0;
    /// For a List field, the reported value list its name designates ("Sex" names "Sex_List");
    /// none for other lists and other types.
    std::optional<ValueList> reportedList;
};

/// A field as the loader defines it: the name cut or padded to 24 characters, the type code to
/// 4, the type rule and reported list derived from them.
FieldDef DefineField(std::string_view name, std::int32_t len, std::string_view typeCode,
                     std::int32_t start, std::int32_t minimumLen);

/// The ordered fields of one record type; field k (1-based) is fields[k - 1].
struct RecordLayout {
    std::vector<FieldDef> fields;

    int count() const { return static_cast<int>(fields.size()); }
    /// Field k (1-based), or nullptr when k is outside the layout.
    const FieldDef* field(int ordinal) const {
        return ordinal >= 1 && ordinal <= count() ? &fields[static_cast<std::size_t>(ordinal - 1)]
                                                  : nullptr;
    }
};

/// The four record types, in the order the layouts are loaded.
enum class RecordType { Header, Comment, Dose, Intake };

/// The record-type letter of a record type ("H", "C", "D", "I").
char RecordTypeLetter(RecordType type);

/// The layouts of the four record types, filled once at start-up and only read afterwards.
struct LayoutTable {
    std::array<RecordLayout, 4> layouts;

    const RecordLayout& of(RecordType type) const { return layouts[static_cast<int>(type)]; }
    RecordLayout& of(RecordType type) { return layouts[static_cast<int>(type)]; }
    /// A configuration is usable when every record type has at least one field.
    bool usable() const;
    int totalFieldCount() const;
};

/// LoadRecordLayouts: reads the four layouts "H", "C", "D", "I" from the configuration. The field
/// list of a type ends at the first missing key, at a field named "X" or after 32767 fields;
/// starts follow from the widths with one separator character between fields.
LayoutTable LoadRecordLayouts(const IniDocument& configuration);

/// FindField: the 1-based ordinal of the field whose name without surrounding blanks equals name
/// exactly (letter case matters), or 0.
int FindField(const RecordLayout& layout, std::string_view name);

/// The characters of the line that a finding's field covers; {0, 0} when there is no field.
struct FieldSpan {
    int start = 0;  ///< 1-based position of the field's first character
    int length = 0;

    bool operator==(const FieldSpan&) const = default;
};

/// The layout of a record-type text "H", "D", "I" or "C" (exact); nullptr for any other text.
const RecordLayout* LayoutOfType(const LayoutTable& layouts, std::string_view type);

/// Field `column` of the type's layout; {0, 0} for an unknown type or a column outside the layout.
FieldSpan LocateField(const LayoutTable& layouts, std::string_view type, int column);

}  // namespace talveron
