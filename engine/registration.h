#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/record_layout.h"
#include "engine/calendar.h"
#include "engine/date_value.h"
#include "engine/dose_register.h"
#include "engine/field_value.h"
#include "engine/known_fields.h"
#include "engine/record_type.h"

namespace talveron {

/// What the registration pass takes from consecutive lines of a load file.
struct RegisteredLines {
    struct Record {
        std::int64_t lineNumber = 0;
        bool dose = false;  ///< a dose record, else an intake record
    };
    std::vector<Record> records;  ///< the dose and intake records of the lines, in file order
    /// The dose records' entries, without the amounts the main pass adds.
    std::vector<DoseListEntry> doses;
    /// The intake records; doseLine is 0 for one above the first dose record of the lines, whose
    /// dose record, if any, lies before them and is filled in when they are added.
    std::vector<IntakeEntry> intakes;

    void clear();
};

/// The per-line work of RegisterLoadFile: a dose record (character 41 "D", on any line, the
/// first included) goes into the dose list by its person and period; an intake record ("I")
/// into the intake register, linked to the last dose record above it. Reading lines and adding
/// them are apart, so that lines can be read on several threads and added in file order, a run
/// of lines at a time.
class DoseRegistration {
public:
    /// Reads the layouts and the run start once.
    DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                     const LocalDateTime& runStart, DoseRegister& doses);

    /// Takes what line `lineNumber` registers into `lines`, which holds the lines read before it
    /// (since its last clear()). Touches nothing but the line and `lines`, so any thread may call
    /// it.
    void read(std::string_view line, std::int64_t lineNumber, RegisteredLines& lines) const;
    /// Registers the first `count` records of `lines`; lines must come in file order.
    void add(const RegisteredLines& lines, std::size_t count);
    /// Reads and registers a line on the spot.
    void registerLine(std::string_view line, std::int64_t lineNumber);

private:
    /// Where the fields the registration reads lie; an absent field has an empty span.
    struct DoseSpans {
        FieldSlice idType, employeeId, monitoringStart, monitoringEnd;
    };

    DoseListEntry readDose(std::string_view line) const;

    DoseSpans dose_;
    FieldSlice intake_;
    DayCounter days_;
    DoseRegister& doses_;
    std::int64_t lastDoseLine_ = 0;
};

}  // namespace talveron
