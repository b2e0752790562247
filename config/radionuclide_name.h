#pragma once

#include <string_view>

namespace talveron {

/// Whether the text names a radionuclide as the value lists write them: an element symbol, a
/// hyphen and a mass number from 1 to 999 without leading zeros, then "m" for a metastable state
/// ("H-3", "Cs-137", "Tc-99m"). Letter case is not judged, as list lookups ignore it.
bool IsRadionuclideName(std::string_view text);

}  // namespace talveron
