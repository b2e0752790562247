#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "engine/finding.h"

namespace talveron {

/// The findings of a check code kept in full for a report; the rest are only counted.
inline constexpr std::size_t kKeptFindingsPerCode = 1000;

/// One finding as a report shows it, owning its texts.
struct KeptFinding {
    std::int64_t line = 0;
    char recordType = 0;         ///< the type the dispatcher gave the record; 0 when none
    Level level = Level::Error;  ///< the level it was counted as
    std::string message;
    std::string fieldName;  ///< empty when the finding names no field
    std::string record;
    std::int32_t character = 0;  ///< 1-based; 0 when none
    FieldSpan field;             ///< the whole field the finding is about; {0, 0} when none
};

/// The findings of one check code in one load file.
struct FindingGroup {
    OptionKey code = OptionKey::IRT;
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
    std::vector<std::string> fields;  ///< the fields its findings name, in order of first finding
    std::vector<KeptFinding> kept;    ///< the first kKeptFindingsPerCode findings, in file order

    std::int64_t count() const { return errors + warnings; }
};

/// Gathers the counted findings of one load file by check code, for a report that groups them.
/// The views of a finding are copied; `layouts` must outlive the gathering.
class FindingGroups {
public:
    explicit FindingGroups(const LayoutTable& layouts) : layouts_(layouts) {}

    void add(const Finding& finding, const FindingPlace& place);

    /// The groups with findings: those with errors first, then the most findings first, then
    /// in check-code order.
    std::vector<const FindingGroup*> ordered() const;

private:
    const LayoutTable& layouts_;
    std::array<FindingGroup, kOptionCount> groups_;
};

}  // namespace talveron
