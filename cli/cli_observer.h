#pragma once

#include "cli/finding_printer.h"
#include "cli/progress_line.h"
#include "report/finding_groups.h"
#include "report/personal_data_mask.h"
#include "run/run_observer.h"

namespace talveron {

/// What the command line does with the events of one run: every counted finding, masked when a
/// mask is given, goes to the file's printer and to the HTML report's groups (each when there is
/// one), and the progress to the progress line (when there is one). Runs on the run's thread.
class CliObserver final : public RunObserver {
public:
    CliObserver(FilePrinter* printer, FindingGroups* groups, const PersonalDataMask* mask,
                ProgressLine* progress)
        : printer_(printer), groups_(groups), mask_(mask), progress_(progress) {}

    void findingReported(const Finding& finding, const FindingPlace& place) override;
    void phaseChanged(RunPhase phase) override;
    void progressChanged(int pass, int overall) override;
    void elapsedChanged(std::string_view text) override;

private:
    void deliver(const Finding& finding, const FindingPlace& place);

    FilePrinter* printer_;
    FindingGroups* groups_;
    const PersonalDataMask* mask_;
    ProgressLine* progress_;
};

}  // namespace talveron
