#pragma once

#include <QGroupBox>

#include <array>

#include "engine/run_counters.h"
#include "run/run_observer.h"

class QLabel;
class QProgressBar;

namespace talveron {

/// The "Processing" frame of the main window: the whole-run and current-pass indicators, the
/// elapsed time and the twelve counters of records, warnings and errors per record type.
class RunPanels final : public QGroupBox {
    Q_OBJECT

public:
    explicit RunPanels(QWidget* parent = nullptr);

    /// All twelve counters to "0", as when a load file is chosen.
    void resetCounters();
    /// Both indicators to 0 %, the elapsed time empty and the counters to "0", as a run starts.
    void resetForRun();
    /// The counters formatted "#,##0".
    void showCounters(const RunCounters& counters);
    void showProgress(int pass, int overall);
    /// The pass indicator's colour: magenta while registering, green while summarising.
    void showPhase(RunPhase phase);
    void showElapsed(const QString& text);

private:
    QProgressBar* overall_;
    QProgressBar* progress_;
    QLabel* time_;
    std::array<QLabel*, 12> counters_{};
};

}  // namespace talveron
