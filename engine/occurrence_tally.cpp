#include "engine/occurrence_tally.h"
