#include "ui/run_controller.h"

#include "ui/run_display_buffer.h"

namespace talveron {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

/// The run's events for the display, and its findings for what the desktop keeps of them.
class RunEvents final : public RunObserver {
public:
    RunEvents(RunObserver& display, RunObserver& findings)
        : display_(display), findings_(findings) {}

    void phaseChanged(RunPhase phase) override { display_.phaseChanged(phase); }
    void informationChanged(std::string_view caption, std::string_view text) override {
        display_.informationChanged(caption, text);
    }
    void progressChanged(int pass, int overall) override {
        display_.progressChanged(pass, overall);
    }
    void elapsedChanged(std::string_view text) override { display_.elapsedChanged(text); }
    void countersChanged(const RunCounters& counters) override {
        display_.countersChanged(counters);
    }
    void lineStarted(std::int64_t lineNumber, std::string_view line) override {
        display_.lineStarted(lineNumber, line);
    }
    void findingReported(const Finding& finding, const FindingPlace& place) override {
        display_.findingReported(finding, place);
        findings_.findingReported(finding, place);
    }

private:
    RunObserver& display_;
    RunObserver& findings_;
};

}  // namespace

RunController::RunController(const Clock& clock, QObject* parent,
                             std::chrono::milliseconds refreshInterval)
    : QObject(parent), clock_(clock) {
    refreshTimer_.setInterval(refreshInterval);
    connect(&refreshTimer_, &QTimer::timeout, this, &RunController::refresh);
}

RunController::~RunController() {
    if (worker_.joinable()) {
        cancel_->request();
        worker_.join();
    }
}

void RunController::start(RunRequest request) {
    request_ = std::make_unique<RunRequest>(std::move(request));
    display_ = std::make_unique<RunDisplayBuffer>();
    findings_ = std::make_unique<RunFindings>(request_->layouts, request_->options,
                                              std::move(request_->earlier));
    cancel_ = std::make_unique<CancelRequest>();
    refreshTimer_.start();
    worker_ = std::thread([this] {
        RunInputs inputs{request_->layouts, request_->options, request_->lists, std::nullopt};
        inputs.threads = ValidationThreads();
        RunEvents events(*display_, *findings_);
        ValidationRun run(inputs, clock_, events, *cancel_);
        RunOutcome outcome = run.execute(request_->loadPath);
        QMetaObject::invokeMethod(
            this, [this, outcome = std::move(outcome)]() mutable { finish(std::move(outcome)); },
            Qt::QueuedConnection);
    });
}

void RunController::cancel() {
    if (cancel_) cancel_->request();
}

void RunController::refresh() {
    RunDisplayBuffer::Changes changes = display_->take();
    if (changes.phase) emit phaseChanged(*changes.phase);
    if (changes.progress) emit progressChanged(changes.progress->first, changes.progress->second);
    if (changes.elapsed) emit elapsedChanged(Text(*changes.elapsed));
    if (changes.counters) emit countersChanged(*changes.counters);
    if (changes.information) {
        emit informationChanged(Text(changes.information->first),
                                Text(changes.information->second));
    }
    if (changes.line) emit lineChanged(changes.line->first, Text(changes.line->second));
}

void RunController::finish(RunOutcome outcome) {
    worker_.join();
    refreshTimer_.stop();
    refresh();
    display_.reset();
    request_.reset();
    emit finished(outcome);
}

}  // namespace talveron
