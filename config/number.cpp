#include "config/number.h"
