#pragma once

#include <vector>

#include "config/configuration_problem.h"
#include "config/configured_fields.h"
#include "config/ini_document.h"

namespace talveron {

/// The problems of the value lists the fields are checked against: a List or Nuc field whose
/// list is missing or holds no valid value, a List field whose name designates no list the
/// checks report, and a radionuclide list entry that is not written as a radionuclide.
void CheckValueLists(const IniDocument& document, const std::vector<ConfiguredField>& fields,
                     ProblemList& problems);

}  // namespace talveron
