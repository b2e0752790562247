#include "report/finding_groups.h"

#include <algorithm>

namespace talveron {

void FindingGroups::add(const Finding& finding, const FindingPlace& place) {
    FindingGroup& group = groups_[static_cast<std::size_t>(finding.code)];
    group.code = finding.code;
    (finding.counted == Level::Error ? group.errors : group.warnings) += 1;
    if (!place.fieldName.empty() &&
        std::find(group.fields.begin(), group.fields.end(), place.fieldName) == group.fields.end())
        group.fields.emplace_back(place.fieldName);
    if (group.kept.size() == kKeptFindingsPerCode) return;
    const char type[] = {place.recordType, 0};
    group.kept.push_back({finding.lineNumber, place.recordType, finding.counted,
                          std::string(finding.message), std::string(place.fieldName),
                          std::string(finding.record), finding.character,
                          LocateField(layouts_, type, finding.column)});
}

std::vector<const FindingGroup*> FindingGroups::ordered() const {
    std::vector<const FindingGroup*> ordered;
    for (const FindingGroup& group : groups_) {
        if (group.count() > 0) ordered.push_back(&group);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        if ((a->errors > 0) != (b->errors > 0)) return a->errors > 0;
        return a->count() > b->count();
    });
    return ordered;
}

}  // namespace talveron
