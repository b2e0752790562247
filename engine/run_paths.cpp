#include "engine/run_paths.h"
