#include "engine/record_rules.h"
