#include "config/record_layout.h"
