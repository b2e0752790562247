#include "engine/check_plan.h"

namespace talveron {
namespace {

FieldStep Compile(const FieldDef& field, int ordinal, const OptionSettings& options) {
    FieldStep step;
    step.field = &field;
    step.ordinal = ordinal;
    step.span = FieldSlice::Of(field);
    step.minimumLen = field.minimumLen;
    step.reportTooShort = options.on(OptionKey::LLMA);
    const CharacterSet* characters = CharacterSetOf(field.fieldType);
    if (characters != nullptr && options.on(characters->rule.code)) step.characters = characters;
    switch (field.fieldType) {
        case FieldType::List:
            if (field.reportedList && options.on(SwitchOf(*field.reportedList))) {
                step.value = ValueStep::List;
                step.list = *field.reportedList;
            }
            break;
        case FieldType::Radionuclide:
            if (options.on(OptionKey::VNVR)) step.value = ValueStep::Radionuclide;
            break;
        case FieldType::Dose:
            step.value = ValueStep::Dose;
            break;
        case FieldType::Date:
            step.value = ValueStep::Date;
            break;
        default:
            break;
    }
    return step;
}

}  // namespace

void ExtractFields(std::string_view record, const LayoutPlan& plan,
                   std::span<std::string_view> values) {
    auto value = values.begin();
    for (const FieldStep& step : plan.steps) *value++ = FieldValue(record, step.span);
}

CheckPlan::CheckPlan(const LayoutTable& layouts, const OptionSettings& options) {
    for (const RecordType type :
         {RecordType::Header, RecordType::Comment, RecordType::Dose, RecordType::Intake}) {
        LayoutPlan& plan = plans_[static_cast<int>(type)];
        plan.layout = &layouts.of(type);
        plan.steps.reserve(plan.layout->fields.size());
        for (int ordinal = 1; ordinal <= plan.layout->count(); ++ordinal) {
            plan.steps.push_back(Compile(*plan.layout->field(ordinal), ordinal, options));
        }
    }
}

}  // namespace talveron
