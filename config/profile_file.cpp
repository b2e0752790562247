#include "config/profile_file.h"
