#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/record_layout.h"
#include "engine/calendar.h"
#include "engine/dose_register.h"
#include "engine/known_fields.h"

namespace talveron {

/// The per-line work of RegisterLoadFile: a dose record (character 41 "D", on any line, the
/// first included) goes into the dose list and the CEDE and CDE totals; an intake record ("I")
/// into the intake register, linked to the last dose record above it.
class DoseRegistration {
public:
    DoseRegistration(const LayoutTable& layouts, const KnownFields& fields,
                     const LocalDateTime& runStart, DoseRegister& doses);

    void registerLine(std::string_view line, std::int64_t lineNumber);

private:
    void registerDose(std::string_view line, std::int64_t lineNumber);
    void registerIntake(std::string_view line, std::int64_t lineNumber);
    /// The trimmed value of field k of a layout; empty when the layout lacks it.
    static std::string_view value(std::string_view line, const RecordLayout& layout, int ordinal);

    const LayoutTable& layouts_;
    const KnownFields& fields_;
    const LocalDateTime& runStart_;
    DoseRegister& doses_;
    std::int64_t lastDoseLine_ = 0;
};

}  // namespace talveron
