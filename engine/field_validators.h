#pragma once

#include "engine/record_context.h"

namespace talveron {

/// ValidateFields: judges every field of the record's layout by its minimum length and its type
/// code (character sets, value lists, radionuclides, doses, dates), in layout order.
void ValidateFields(RecordContext& record);

}  // namespace talveron
