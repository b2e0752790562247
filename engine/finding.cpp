#include "engine/finding.h"

namespace talveron {

std::string_view LevelText(Level level) { return level == Level::Error ? "ERROR" : "WARNING"; }

}  // namespace talveron
