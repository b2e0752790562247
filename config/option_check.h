#pragma once

#include "config/configuration_problem.h"
#include "config/ini_document.h"

namespace talveron {

/// The problems of the three option sections: a key no option has, and a value a run reads
/// otherwise than it is written (not a plain whole number, out of the 16-bit range and clamped)
/// or that makes a limit fire at once.
void CheckOptions(const IniDocument& document, ProblemList& problems);

}  // namespace talveron
