#pragma once

#include <span>
#include <string_view>

#include "config/record_layout.h"

namespace talveron {

/// The names of the fields the rules look up in a layout (exact spelling, letter case matters).
namespace field_names {
inline constexpr std::string_view kEmployeeId = "Employee_ID";
inline constexpr std::string_view kIdType = "ID_Type";
inline constexpr std::string_view kBirthDate = "Birth_Date";
inline constexpr std::string_view kMonitoringStart = "Monitoring_Start";
inline constexpr std::string_view kMonitoringEnd = "Monitoring_End";
inline constexpr std::string_view kFirstName = "First_Name";
inline constexpr std::string_view kLastName = "Last_Name";
inline constexpr std::string_view kCede = "CEDE";
inline constexpr std::string_view kCde = "CDE";
inline constexpr std::string_view kTode = "TODE";
inline constexpr std::string_view kDde = "DDE";
inline constexpr std::string_view kTede = "TEDE";
inline constexpr std::string_view kLde = "LDE";
inline constexpr std::string_view kSdeWb = "SDE_WB";
inline constexpr std::string_view kSdeMe = "SDE_ME";
inline constexpr std::string_view kClass = "Class";
inline constexpr std::string_view kMode = "Mode";
inline constexpr std::string_view kIntake = "Intake";
}  // namespace field_names

/// A field that a rule finds by name in the layout of one record type.
struct RuleField {
    RecordType layout;
    std::string_view name;
    std::string_view neededBy;  ///< what reads it, as a message says it
};

/// Every field the rules look up by name, layout by layout.
std::span<const RuleField> RuleFields();

}  // namespace talveron
