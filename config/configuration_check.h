#pragma once

#include <vector>

#include "config/configuration_problem.h"
#include "config/ini_document.h"

namespace talveron {

/// Every problem a run would meet in the configuration, each at the line it is written on, ordered
/// by line (problems without a line first). The document is read with the loaders a run uses,
/// so that what the check says is what a run does: the record layouts, the value lists the
/// fields are checked against, the option sections, the repeated sections and keys that are
/// ignored, and the sections that nothing reads. A configuration without problems gives none.
std::vector<ConfigurationProblem> CheckConfiguration(const IniDocument& document);

}  // namespace talveron
