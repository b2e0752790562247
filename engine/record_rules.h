#pragma once

#include <string_view>

#include "engine/record_context.h"

namespace talveron {

/// CheckDates: start before end, birth date limits, period of at most 13 months (dose records).
void CheckDates(RecordContext& record);

/// CheckSingleMonitoringPeriod: another dose record of the same person has a start or end date
/// within this record's monitoring period (reported against the record type).
void CheckSingleMonitoringPeriod(RecordContext& record);

/// CheckSsn: an identifier of type "SSN" holds digits only (dose, intake and comment records).
void CheckSsn(RecordContext& record);

/// CheckTestNames: "TEST" or "TRAIN" in the name fields (dose records).
void CheckTestNames(RecordContext& record);

/// The test of CheckTestNames: the name, upper-cased, contains "TEST" or "TRAIN". Reads no
/// further than `readableEnd`, at or after the end of the name.
bool LooksLikeTestData(std::string_view name, const char* readableEnd);

/// CheckClassMode: the class and mode combinations of an intake record.
void CheckClassMode(RecordContext& record);

}  // namespace talveron
