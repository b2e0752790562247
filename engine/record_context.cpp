#include "engine/record_context.h"
