#include "config/value_lists.h"
