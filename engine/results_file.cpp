#include "engine/results_file.h"
