#include "ui/run_controller.h"

#include "ui/run_display_buffer.h"

namespace talveron {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

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
    cancel_ = std::make_unique<CancelRequest>();
    refreshTimer_.start();
    worker_ = std::thread([this] {
        RunInputs inputs{request_->layouts, request_->options, request_->lists, std::nullopt};
        inputs.threads = ValidationThreads();
        ValidationRun run(inputs, clock_, *display_, *cancel_);
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
