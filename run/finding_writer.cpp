#include "run/finding_writer.h"

#include "run/results_file.h"

namespace talveron {

void InformationLine::show(std::string_view caption, std::string_view text) {
    caption_ = caption;
    observer_.informationChanged(caption_, text);
}

FindingWriter::FindingWriter(OutputFile& results, RunObserver& observer,
                             InformationLine& information)
    : results_(results),
      observer_(observer),
      informationLine_(information),
      captions_{std::string(LevelText(Level::Error)) + " Information",
                std::string(LevelText(Level::Warning)) + " Information"} {}

bool WrittenToResults(const OptionSettings& options, const Finding& finding) {
    return options.on(OptionKey::GRF) &&
           (finding.level == Level::Error || options.on(OptionKey::IW));
}

void FindingWriter::write(const FindingBuffer& findings, std::size_t first, std::size_t last) {
    for (std::size_t index = first; index < last; ++index) {
        const BufferedFinding kept = findings.at(index);
        observer_.findingReported(kept.finding, kept.place);
        if (kept.sectionHead.empty()) continue;
        number_.clear();
        AppendFindingSectionNumber(number_, ++findingCount_);
        results_.append(number_);
        results_.append(kept.sectionHead);
        results_.append(kept.finding.record);
        results_.append(kept.sectionTail);
        information_.assign(kept.finding.message).append(kept.informationSuffix);
        informationLine_.show(captions_[kept.finding.level == Level::Error ? 0 : 1], information_);
    }
}

}  // namespace talveron
