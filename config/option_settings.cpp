#include "config/option_settings.h"
