#include "config/configured_fields.h"

namespace talveron {

std::string LayoutSection(RecordType type) { return std::string(1, RecordTypeLetter(type)); }

std::vector<ConfiguredField> ConfiguredFields(const IniDocument& document,
                                              const LayoutTable& layouts) {
    std::vector<ConfiguredField> fields;
    for (const RecordType type :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        const std::string section = LayoutSection(type);
        const RecordLayout& layout = layouts.of(type);
        for (int ordinal = 1; ordinal <= layout.count(); ++ordinal) {
            const std::string key = std::to_string(ordinal);
            // Read as the loader reads it, so that it names the section the loader read.
            fields.push_back({type, ordinal, ReadProfileValue(document, section, key, {}),
                              layout.field(ordinal), document.keyLine(section, key)});
        }
    }
    return fields;
}

std::string FieldLabel(const ConfiguredField& field) {
    return "field " + std::to_string(field.ordinal) + " (" + field.name + ") of [" +
           LayoutSection(field.layout) + "]";
}

}  // namespace talveron
