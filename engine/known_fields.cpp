#include "engine/known_fields.h"
