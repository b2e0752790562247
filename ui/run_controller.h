#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "engine/run_counters.h"
#include "run/cancel_request.h"
#include "run/clock.h"
#include "run/run_observer.h"
#include "run/validation_run.h"
#include "ui/run_findings.h"

namespace talveron {

class RunDisplayBuffer;

/// Everything one run needs, handed to the run's thread whole.
struct RunRequest {
    LayoutTable layouts;
    OptionSettings options;
    ValueLists lists;
    std::filesystem::path loadPath;
    /// The digests of the findings of the file's last run, to tell the new findings by.
    std::optional<std::vector<IdentityDigest>> earlier;
};

/// Ten refreshes a second look live; each repaints the panels, time the checks lose on a machine
/// of few cores.
inline constexpr std::chrono::milliseconds kRunRefreshInterval{100};

/// Runs one validation at a time on a worker thread: the request goes in, the outcome comes back
/// through finished() on the thread that owns the controller. cancel() requests the end of the
/// run, which the engine tests before every line. While the run works, a timer on the
/// owner's thread takes what the run published and signals it at most every refresh interval,
/// so the display costs the run next to nothing however fast it reads lines.
class RunController final : public QObject {
    Q_OBJECT

public:
    explicit RunController(const Clock& clock, QObject* parent = nullptr,
                           std::chrono::milliseconds refreshInterval = kRunRefreshInterval);
    /// Cancels a run still going and waits for its thread.
    ~RunController() override;

    /// Starts a run; requires !running().
    void start(RunRequest request);
    /// CANCEL: the run ends through its usual end steps and finished().
    void cancel();
    /// From start() until the run's thread has ended (already false while finished() is
    /// delivered, so its receivers may start the next run).
    bool running() const { return worker_.joinable(); }
    /// What the last run that ended kept of its findings; null before, and once taken.
    std::unique_ptr<RunFindings> takeFindings() { return std::move(findings_); }

signals:
    void phaseChanged(talveron::RunPhase phase);
    void informationChanged(const QString& caption, const QString& text);
    void progressChanged(int pass, int overall);
    void elapsedChanged(const QString& text);
    void countersChanged(const talveron::RunCounters& counters);
    void lineChanged(qint64 lineNumber, const QString& line);
    /// The run has ended and its thread is gone; every display signal of the run came before.
    void finished(const talveron::RunOutcome& outcome);

private:
    void refresh();
    void finish(RunOutcome outcome);

    const Clock& clock_;
    QTimer refreshTimer_;
    std::unique_ptr<CancelRequest> cancel_;
    std::unique_ptr<RunRequest> request_;
    std::unique_ptr<RunDisplayBuffer> display_;
    std::unique_ptr<RunFindings> findings_;
    std::thread worker_;
};

}  // namespace talveron
