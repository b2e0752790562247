#include "config/configuration_check.h"

#include <unordered_set>

#include "config/configured_fields.h"
#include "config/layout_check.h"
#include "config/option_check.h"
#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/value_list_check.h"
#include "config/value_lists.h"

namespace talveron {

namespace {

void CheckRepeats(const IniDocument& document, ProblemList& problems) {
    for (const IniDocument::Repeat& repeat : document.repeats()) {
        if (repeat.key.empty()) {
            problems.warning(repeat.line, Bracketed(repeat.section) +
                                              " repeats the section at line " +
                                              std::to_string(repeat.firstLine) +
                                              " and is ignored with every key in it");
        } else if (!repeat.key.starts_with(';')) {
            problems.warning(repeat.line, "key " + repeat.key + " repeats the one at line " +
                                              std::to_string(repeat.firstLine) + " in " +
                                              Bracketed(repeat.section) + " and is ignored");
        }
    }
}

/// Sections that no lookup asks for: a misspelt option section or list, a field definition no
/// layout names.
void CheckUnreadSections(const IniDocument& document, ProblemList& problems) {
    std::unordered_set<std::string> read;
    for (const RecordType type :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        const std::string section = LayoutSection(type);
        read.insert(FoldCase(section));
        // Also the fields a layout ignores: their own problem is said at the layout.
        document.forEachKey(section, [&](std::string_view, std::string_view value) {
            read.insert(FoldCase(value));
        });
    }
    for (std::size_t list = 0; list < kValueListCount; ++list)
        read.insert(FoldCase(SectionOf(static_cast<ValueList>(list))));
    for (const std::string_view section :
         {kOutputOptionsSection, kAutoCancelSection, kValidationOptionsSection})
        read.insert(FoldCase(section));
    document.forEachSection([&](std::string_view name, std::size_t line) {
        if (read.contains(FoldCase(name))) return;
        problems.warning(line, Bracketed(name) +
                                   " is read by nothing: it is no layout, no field a layout names, "
                                   "no value list and no option section");
    });
}

}  // namespace

std::vector<ConfigurationProblem> CheckConfiguration(const IniDocument& document) {
    const LayoutTable layouts = LoadRecordLayouts(document);
    const std::vector<ConfiguredField> fields = ConfiguredFields(document, layouts);
    ProblemList problems;
    CheckLayouts(document, layouts, fields, problems);
    CheckValueLists(document, fields, problems);
    CheckOptions(document, problems);
    CheckRepeats(document, problems);
    CheckUnreadSections(document, problems);
    return std::move(problems).sorted();
}

}  // namespace talveron
