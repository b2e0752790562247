#include "engine/date_value.h"
