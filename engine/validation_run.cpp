#include "engine/validation_run.h"
