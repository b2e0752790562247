#include "engine/line_reader.h"
