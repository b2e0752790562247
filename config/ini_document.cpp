#include "config/ini_document.h"
