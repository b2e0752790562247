#include "engine/run_counters.h"
