#include "engine/record_dispatcher.h"

#include <string>

#include "config/record_frame.h"
#include "engine/dose_rules.h"
#include "engine/field_validators.h"
#include "engine/record_rules.h"

namespace talveron {

namespace {

constexpr Rule kInvalidRecordLength{OptionKey::IRL, Level::Error, "Invalid Record Length of "};
constexpr Rule kInvalidHeaderLength{OptionKey::IRL, Level::Warning, "Invalid Record Length of "};
constexpr Rule kInvalidRecordType{OptionKey::IRT, Level::Error, "Invalid Record Type '"};

}  // namespace

void CheckRecordLength(RecordContext& record, std::string_view recordType,
                       std::int64_t recordLength) {
    if (recordType.size() != 1 || !record.on(OptionKey::IRL)) return;
    for (const RecordLengthLimits& limits : kRecordLengthLimits) {
        if (limits.type != recordType.front()) continue;
        const bool tooShort = recordLength < limits.shortestRecordLength;
        // A line no longer than the limit cannot be too long trimmed.
        const bool tooLong = record.record().size() > limits.longestTrimmed &&
                             TrimSpaces(record.record()).size() > limits.longestTrimmed;
        if (!tooShort && !tooLong) return;

        std::string message(kInvalidRecordLength.message);
        message += ' ';
        message += std::to_string(recordLength);
        message += " for Type '";
        message += recordType;
        message += '\'';
        const Level tally = tooLong ? Level::Warning : Level::Error;
        const bool header = limits.type == 'H';
        if (header) {
            record.reportTallied(tally, kInvalidHeaderLength, 0, 1, message, true);
        } else {
            record.reportTallied(tally, kInvalidRecordLength, kRecordTypeField,
                                 kRecordTypeCharacter, message, false);
        }
        return;
    }
}

RecordDispatcher::RecordDispatcher(const CheckEnvironment& environment, FindingSink& sink,
                                   std::size_t doseRecordsBefore)
    : context_(environment, sink), doseRecordsSeen_(doseRecordsBefore) {}

DispatchResult RecordDispatcher::dispatch(std::string_view record, std::int64_t lineNumber,
                                          std::int64_t recordLength) {
    const std::string_view recordType = lineNumber == 1 ? "H" : StatedRecordType(record);
    const char typeLetter = recordType.empty() ? 0 : recordType.front();
    context_.begin(record, lineNumber, typeLetter);
    if (IsDoseLine(record)) context_.setDosePosition(doseRecordsSeen_++);
    CheckRecordLength(context_, recordType, recordLength);

    if (lineNumber == 1) {
        context_.extract(RecordType::Header);
        captureHeaderValues();
        ValidateFields(context_);
    } else if (recordType == "D") {
        context_.extract(RecordType::Dose);
        ValidateFields(context_);
        CheckDoseValues(context_);
        CheckDates(context_);
        CheckSingleMonitoringPeriod(context_);
        CheckSsn(context_);
        CheckTestNames(context_);
    } else if (recordType == "C") {
        context_.extract(RecordType::Comment);
        ValidateFields(context_);
        CheckSsn(context_);
    } else if (recordType == "I") {
        context_.extract(RecordType::Intake);
        ValidateFields(context_);
        CheckClassMode(context_);
        CheckSsn(context_);
    } else if (context_.on(OptionKey::IRT)) {
        std::string message(kInvalidRecordType.message);
        message += recordType;
        message += '\'';
        context_.reportTallied(Level::Error, kInvalidRecordType, kRecordTypeField,
                               kRecordTypeCharacter, message, recordType == "H");
    }
    DispatchResult result{typeLetter, context_.errorCount(), context_.warningCount(), false, {}};
    if (IsDoseLine(record)) {
        // The first line is checked as the header; as a dose record it still has amounts.
        if (lineNumber == 1) context_.extract(RecordType::Dose);
        const KnownFields::Dose& fields = context_.environment().fields.dose;
        result.doseRecord = true;
        result.amounts = {context_.number(fields.tede), context_.number(fields.cede),
                          context_.number(fields.cde)};
    }
    return result;
}

void RecordDispatcher::captureHeaderValues() {
    const auto values = context_.values();
    const auto entry = [&](std::size_t index) {
        return index < values.size() ? std::string(values[index]) : std::string();
    };
    header_.licenseNo = entry(0);
    header_.licenseeName = entry(2);
    header_.contactPerson = entry(3);
    header_.associatedLicenses = entry(5);
    for (std::size_t index = 6; index < values.size(); ++index) {
        if (values[index].empty()) continue;
        header_.associatedLicenses += ',';
        header_.associatedLicenses += values[index];
    }
}

}  // namespace talveron
