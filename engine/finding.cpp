#include "engine/finding.h"
