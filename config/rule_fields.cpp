#include "config/rule_fields.h"

#include <array>

namespace talveron {

namespace {

using namespace field_names;

constexpr std::string_view kPerson = "the person key and the SSN check";
constexpr std::string_view kPeriod = "the monitoring-period checks";
constexpr std::string_view kDoses = "the dose checks";
constexpr std::string_view kReported = "the dose checks and the summary report";

constexpr std::array<RuleField, 22> kRuleFields{{
    {RecordType::Dose, kEmployeeId, kPerson},
    {RecordType::Dose, kIdType, kPerson},
    {RecordType::Dose, kBirthDate, "the birth-date checks"},
    {RecordType::Dose, kMonitoringStart, kPeriod},
    {RecordType::Dose, kMonitoringEnd, kPeriod},
    {RecordType::Dose, kFirstName, "the test-name check"},
    {RecordType::Dose, kLastName, "the test-name check"},
    {RecordType::Dose, kCede, kReported},
    {RecordType::Dose, kCde, kReported},
    {RecordType::Dose, kTode, kDoses},
    {RecordType::Dose, kDde, kDoses},
    {RecordType::Dose, kTede, kReported},
    {RecordType::Dose, kLde, kDoses},
    {RecordType::Dose, kSdeWb, kDoses},
    {RecordType::Dose, kSdeMe, kDoses},
    {RecordType::Intake, kEmployeeId, "the SSN check"},
    {RecordType::Intake, kIdType, "the SSN check"},
    {RecordType::Intake, kClass, "the class and mode checks"},
    {RecordType::Intake, kMode, "the class and mode checks"},
    {RecordType::Intake, kIntake, "the intake checks"},
    {RecordType::Comment, kEmployeeId, "the SSN check"},
    {RecordType::Comment, kIdType, "the SSN check"},
}};

}  // namespace

std::span<const RuleField> RuleFields() { return kRuleFields; }

}  // namespace talveron
