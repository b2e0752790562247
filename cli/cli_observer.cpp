#include "cli/cli_observer.h"

namespace talveron {

void CliObserver::findingReported(const Finding& finding, const FindingPlace& place) {
    if (!mask_) {
        deliver(finding, place);
        return;
    }
    const std::string record = mask_->apply(finding.record, place.recordType, finding.character);
    Finding masked = finding;
    masked.record = record;
    FindingPlace maskedPlace = place;
    // The field's value is a view into the record: the same bytes of the masked record.
    const std::string_view line = finding.record;
    if (!place.value.empty() && place.value.data() >= line.data() &&
        place.value.data() + place.value.size() <= line.data() + line.size()) {
        maskedPlace.value = std::string_view(record).substr(
            static_cast<std::size_t>(place.value.data() - line.data()), place.value.size());
    }
    deliver(masked, maskedPlace);
}

void CliObserver::deliver(const Finding& finding, const FindingPlace& place) {
    if (printer_) printer_->finding(finding, place);
    if (groups_) groups_->add(finding, place);
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
