#include "engine/calendar.h"
