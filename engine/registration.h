#pragma once

#include <cstdint>
#include <string_view>

#include "config/record_layout.h"
#include "engine/calendar.h"
#include "engine/date_value.h"
#include "engine/dose_register.h"
#include "engine/field_value.h"
#include "engine/known_fields.h"
#include "engine/record_type.h"

namespace talveron {

/// What the registration pass takes from one line.
struct RegisteredLine {
    enum class Kind : std::uint8_t { None, Dose, Intake };
    Kind kind = Kind::None;
    DoseListEntry dose;  ///< a dose record's entry, without the amounts the main pass adds
    double intake = 0;   ///< an intake record's intake
};

/// The per-line work of RegisterLoadFile: a dose record (character 41 "D", on any line, the
/// first included) goes into the dose list by its person and period; an intake record ("I")
/// into the intake register, linked to the last dose record above it. Reading a line and adding
/// it are apart, so that lines can be read on several threads and added in file order.
class DoseRegistration {
public:
    /// Reads the layouts and the run start once.
    DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                     const LocalDateTime& runStart, DoseRegister& doses);

    /// What the line registers. Touches nothing but the line, so any thread may call it.
    RegisteredLine read(std::string_view line) const;
    /// Registers what read() took from line `lineNumber`; lines must come in file order.
    void add(const RegisteredLine& registered, std::int64_t lineNumber);
    /// Reads and registers a line on the spot.
    void registerLine(std::string_view line, std::int64_t lineNumber) {
        add(read(line), lineNumber);
    }

private:
    /// Where the fields the registration reads lie; an absent field has an empty span.
    struct DoseSpans {
        FieldSlice idType, employeeId, monitoringStart, monitoringEnd;
    };

    RegisteredLine readDose(std::string_view line) const;
    RegisteredLine readIntake(std::string_view line) const;

    DoseSpans dose_;
    FieldSlice intake_;
    DayCounter days_;
    DoseRegister& doses_;
    std::int64_t lastDoseLine_ = 0;
};

}  // namespace talveron
