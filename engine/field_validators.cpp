#include "engine/field_validators.h"
