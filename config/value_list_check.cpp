#include "config/value_list_check.h"

#include <unordered_set>

#include "config/radionuclide_name.h"
#include "config/value_lists.h"

namespace talveron {

namespace {

/// The list a field's values are looked up in, if its type has one.
std::optional<ValueList> ListOf(const FieldDef& field) {
    if (field.fieldType == FieldType::Radionuclide) return ValueList::Radionuclide;
    if (field.fieldType == FieldType::List) return field.reportedList;
    return std::nullopt;
}

bool HoldsValidValue(const IniDocument& document, std::string_view section) {
    bool found = false;
    document.forEachKey(section, [&](std::string_view, std::string_view value) {
        found = found || MarksValidValue(value);
    });
    return found;
}

void CheckFieldList(const IniDocument& document, const ConfiguredField& field,
                    ProblemList& problems) {
    const std::size_t typeLine = document.keyLine(field.name, "Type");
    const std::optional<ValueList> list = ListOf(*field.field);
    if (!list) {
        problems.warning(typeLine, field.name +
                                       " is of type List, but no list of that name is checked "
                                       "(only those of ID_Type, Record_Type, Sex, Report_Type, "
                                       "Exposure_Type, Class, Mode and Radionuclide are), so its "
                                       "values are checked for letters only");
        return;
    }
    const std::string_view section = SectionOf(*list);
    const std::string consequence = ", so every value of " + field.name + " is reported";
    if (document.sectionLine(section) == 0) {
        problems.error(typeLine, "there is no section " + Bracketed(section) + consequence);
    } else if (!HoldsValidValue(document, section)) {
        problems.error(document.sectionLine(section),
                       Bracketed(section) +
                           " holds no valid value (a key with a text other than \"$\" after its "
                           "\"=\")" +
                           consequence);
    }
}

void CheckRadionuclideNames(const IniDocument& document, ProblemList& problems) {
    const std::string_view section = SectionOf(ValueList::Radionuclide);
    document.forEachKey(section, [&](std::string_view key, std::string_view value) {
        if (key.starts_with(';') || !MarksValidValue(value) || IsRadionuclideName(key)) return;
        problems.warning(document.keyLine(section, key),
                         std::string(key) + " in " + Bracketed(section) +
                             " is not written as a radionuclide (element symbol, hyphen, mass "
                             "number, as in I-125 or Tc-99m), so records that write it so do "
                             "not match it");
    });
}

}  // namespace

void CheckValueLists(const IniDocument& document, const std::vector<ConfiguredField>& fields,
                     ProblemList& problems) {
    std::unordered_set<std::string> checked;
    for (const ConfiguredField& field : fields) {
        const FieldType type = field.field->fieldType;
        if (type != FieldType::List && type != FieldType::Radionuclide) continue;
        if (checked.insert(FoldCase(field.name)).second) CheckFieldList(document, field, problems);
    }
    CheckRadionuclideNames(document, problems);
}

}  // namespace talveron
