#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/ini_document.h"
#include "config/record_layout.h"

namespace talveron {

/// A field of a loaded layout, with where the configuration names it.
struct ConfiguredField {
    RecordType layout;
    int ordinal;            ///< 1-based, in its layout
    std::string name;       ///< as the layout key gives it: its definition section's name
    const FieldDef* field;  ///< in the layout table the list was made from
    std::size_t line;       ///< of the layout key
};

/// The layout section of a record type: "H", "C", "D" or "I".
std::string LayoutSection(RecordType type);

/// Every field of the four layouts, layout by layout in the order they are loaded. Refers to
/// `layouts`, which must have been loaded from `document` and outlive the list.
std::vector<ConfiguredField> ConfiguredFields(const IniDocument& document,
                                              const LayoutTable& layouts);

/// A label for messages: "field 6 (First_Name) of [D]".
std::string FieldLabel(const ConfiguredField& field);

}  // namespace talveron
