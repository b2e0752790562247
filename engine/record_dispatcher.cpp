#include "engine/record_dispatcher.h"
