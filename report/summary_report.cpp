#include "report/summary_report.h"
