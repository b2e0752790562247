#include "run/finding_writer.h"

#include "run/results_file.h"

namespace talveron {

void InformationLine::show(std::string_view caption, std::string_view text) {
    caption_ = caption;
    observer_.informationChanged(caption_, text);
}

FindingWriter::FindingWriter(const OptionSettings& options, OutputFile& results,
                             OccurrenceTally& tally, RunObserver& observer, RunTimer& timer,
                             InformationLine& information)
    : options_(options),
      results_(results),
      tally_(tally),
      observer_(observer),
      timer_(timer),
      information_(information) {}

bool WrittenToResults(const OptionSettings& options, const Finding& finding) {
    return options.on(OptionKey::GRF) &&
           (finding.level == Level::Error || options.on(OptionKey::IW));
}

void FindingWriter::writeFinding(const Finding& finding, const FindingPlace& place) {
    timer_.update();
    observer_.findingReported(finding, place);

    if (WrittenToResults(options_, finding)) {
        ++findingCount_;
        section_.clear();
        AppendFindingSection(section_, findingCount_, finding);
        results_.append(section_);

        caption_.assign(LevelText(finding.level)).append(" Information");
        informationText_.assign(finding.message)
            .append(" Line:")
            .append(FormatGrouped(finding.lineNumber));
        information_.show(caption_, informationText_);
    }
    if (options_.on(OptionKey::IOS)) tally_.add(finding.level, finding.message, finding.lineNumber);
}

}  // namespace talveron
