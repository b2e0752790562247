#include "cli/cli_observer.h"

namespace talveron {

void CliObserver::findingReported(const Finding& finding, const FindingPlace& place) {
    if (groups_) groups_->add(finding, place);  // the report masks what it shows
    if (!printer_ && !comparison_) return;
    PrintedFinding printed{identifier_.of(finding, place),
                           finding.lineNumber,
                           finding.column,
                           finding.character,
                           place.spanFirst,
                           place.spanLast,
                           finding.counted,
                           finding.level,
                           finding.message,
                           place.value,
                           finding.record,
                           std::nullopt};
    if (comparison_) {
        printed.baseline = comparison_->match(DigestOf(printed.identity, earlierMasked_));
        if (printed.baseline == BaselineState::New && finding.counted == Level::Error) ++newErrors_;
    }
    if (!printer_) return;
    if (!mask_) {
        printer_->finding(printed);
        return;
    }
    const std::string record = mask_->apply(finding.record, place.recordType, finding.character);
    const std::string employeeId =
        MaskedEmployeeId(printed.identity.idType, printed.identity.employeeId);
    printed.record = record;
    printed.identity.employeeId = employeeId;
    // The field's value is a view into the record: the same bytes of the masked record.
    const std::string_view line = finding.record;
    if (!place.value.empty() && place.value.data() >= line.data() &&
        place.value.data() + place.value.size() <= line.data() + line.size()) {
        printed.value = std::string_view(record).substr(
            static_cast<std::size_t>(place.value.data() - line.data()), place.value.size());
    }
    printer_->finding(printed);
}

void CliObserver::reportFixed(const EarlierFinding& finding) {
    if (!printer_) return;
    PrintedFinding printed = finding.printed();
    if (!mask_) {
        printer_->finding(printed);
        return;
    }
    const std::string value =
        mask_->applyToValue(finding.value, finding.recordType, finding.field, finding.idType);
    const std::string employeeId = MaskedEmployeeId(finding.idType, finding.employeeId);
    printed.value = value;
    printed.identity.employeeId = employeeId;
    printer_->finding(printed);
}

void CliObserver::phaseChanged(RunPhase phase) {
    if (progress_) progress_->phase(phase);
}

void CliObserver::progressChanged(int pass, int) {
    if (progress_) progress_->progress(pass);
}

void CliObserver::elapsedChanged(std::string_view text) {
    if (progress_) progress_->elapsed(text);
}

}  // namespace talveron
