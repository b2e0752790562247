#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "run/cancel_request.h"

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

namespace talveron {

/// What work on a BackgroundTask's thread shares with the window: how far it got, and whether
/// the operator cancelled it.
class TaskProgress {
public:
    /// How far the work has got, in thousandths; unknown (-1) until the work says.
    void report(int permille) { permille_.store(permille, std::memory_order_relaxed); }
    int permille() const { return permille_.load(std::memory_order_relaxed); }
    bool cancelled() const { return cancel_.requested(); }
    void cancel() { cancel_.request(); }

private:
    CancelRequest cancel_;
    std::atomic<int> permille_{-1};
};

/// Runs one piece of work at a time on a thread of its own, so that the window stays responsive.
/// When the work goes on for longer than a moment, a window-modal dialog says what is being done,
/// with a progress bar and a Cancel button. The work's result comes back on the owner's thread.
class BackgroundTask final : public QObject {
    Q_OBJECT

public:
    /// Runs on the task's thread; returns what is to be done with its result on the owner's
    /// thread.
    using Work = std::function<std::function<void()>(TaskProgress&)>;

    explicit BackgroundTask(QWidget& owner);
    /// Cancels work still going on and waits for its thread.
    ~BackgroundTask() override;

    /// Starts `work`; requires !running(). When the work ends, the function it returned runs,
    /// unless the operator cancelled it: then `cancelled` ran instead, at once.
    void start(const QString& label, Work work, std::function<void()> cancelled);
    /// From start() until the work's result has been dealt with.
    bool running() const { return worker_.joinable(); }

private:
    void showProgress();
    void pollProgress();
    void cancel();
    void finish(const std::function<void()>& done);

    QWidget& owner_;
    QDialog* dialog_ = nullptr;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTimer showTimer_;
    QTimer pollTimer_;
    std::unique_ptr<TaskProgress> progress_;
    std::function<void()> cancelled_;
    std::thread worker_;
};

}  // namespace talveron
