#include "engine/dose_register.h"
