#include "engine/clock.h"
