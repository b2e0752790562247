#pragma once

#include <vector>

#include "config/configuration_problem.h"
#include "config/configured_fields.h"
#include "config/ini_document.h"
#include "config/record_layout.h"

namespace talveron {

/// The problems of the four record layouts as a run loads them: a missing layout, field numbers
/// a run ignores, field definitions without a usable width or with an unknown type code, fields
/// that overlap, a record-type field elsewhere than character 41, fields that do not fit the
/// record lengths, and fields the rules need that a layout lacks.
void CheckLayouts(const IniDocument& document, const LayoutTable& layouts,
                  const std::vector<ConfiguredField>& fields, ProblemList& problems);

}  // namespace talveron
