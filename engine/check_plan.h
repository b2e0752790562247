#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "config/record_layout.h"
#include "config/value_lists.h"
#include "engine/character_sets.h"
#include "engine/field_value.h"

namespace talveron {

/// The rule a field's type applies to its value besides its character set.
enum class ValueStep { None, List, Radionuclide, Dose, Date };

/// What the field checks do with one field, decided once from its definition and the options:
/// a check whose code is off is not in the step at all.
struct FieldStep {
    const FieldDef* field = nullptr;
    int ordinal = 0;  ///< 1-based position in the layout
    FieldSlice span;
    std::int32_t minimumLen = 0;               ///< the field's, kept next to what judges it
    bool reportTooShort = false;               ///< LLMA is on
    const CharacterSet* characters = nullptr;  ///< the type's character set, when its code is on
    ValueStep value = ValueStep::None;
    ValueList list = ValueList::IDType;  ///< for ValueStep::List: the list the value must be in
};

/// The steps of one record layout, field after field in layout order.
struct LayoutPlan {
    const RecordLayout* layout = nullptr;
    std::vector<FieldStep> steps;
};

/// Field extraction: the trimmed value of every field of the plan's layout, in layout order, into
/// the first plan.steps.size() entries of `values`.
void ExtractFields(std::string_view record, const LayoutPlan& plan,
                   std::span<std::string_view> values);

/// The four record layouts compiled against the options, so that a record is checked in one
/// walk over its fields with no lookup by name and no test of a switch that is off. Reads the
/// layouts and options once; keeps pointers into the layouts, which must outlive it.
class CheckPlan {
public:
    CheckPlan(const LayoutTable& layouts, const OptionSettings& options);

    const LayoutPlan& of(RecordType type) const { return plans_[static_cast<int>(type)]; }

private:
    std::array<LayoutPlan, 4> plans_;
};

}  // namespace talveron
