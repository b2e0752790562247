#include "engine/dose_rules.h"
