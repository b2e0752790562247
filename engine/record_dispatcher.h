#pragma once

#include <cstdint>
#include <string_view>

#include "engine/header_values.h"
#include "engine/record_context.h"
#include "engine/record_type.h"

namespace talveron {

/// What RunCounters::countRecord needs of a dispatched record, and a dose record's amounts.
struct DispatchResult {
    char recordType = 0;  ///< 'H' on line 1, else character 41; 0 when the line is shorter
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
    bool doseRecord = false;  ///< "D" in character 41, on any line (IsDoseLine)
    DoseAmounts amounts;      ///< read by the dose layout when doseRecord
};

/// The record length the checks use: the line's character count plus 2 (its line end).
inline std::int64_t RecordLength(std::string_view line) {
    return static_cast<std::int64_t>(line.size()) + 2;
}

/// CheckRecordLength: the record-length rule of the record's type (none for unknown types).
/// The tally follows the kind of fault (too long: warning), the level the type (header: WARNING
/// at column 0, character 1; others: ERROR at column 5, character 41).
void CheckRecordLength(RecordContext& record, std::string_view recordType,
                       std::int64_t recordLength);

/// Types a line, applies the record-length rule, cuts it into field values and
/// runs the checks of its type in their fixed order; keeps the header values of line 1 and reads
/// the amounts of every dose record, the first line's included.
class RecordDispatcher {
public:
    /// `doseRecordsBefore`: the lines with "D" in character 41 above the first line it will be
    /// given, when it starts in the middle of the file. The layouts and options are compiled into
    /// the checks here: later changes to them are not seen.
    RecordDispatcher(const CheckEnvironment& environment, FindingSink& sink,
                     std::size_t doseRecordsBefore = 0);

    /// recordLength is RecordLength(record).
    DispatchResult dispatch(std::string_view record, std::int64_t lineNumber,
                            std::int64_t recordLength);

    const HeaderValues& header() const { return header_; }

private:
    void captureHeaderValues();

    RecordContext context_;
    HeaderValues header_;
    std::size_t doseRecordsSeen_ = 0;  // IsDoseLine lines so far
};

}  // namespace talveron
