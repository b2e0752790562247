#include "ui/background_task.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace talveron {

namespace {

// Work that ends sooner than this shows no dialog at all.
constexpr int kShowAfterMs = 400;
constexpr int kPollMs = 100;

}  // namespace

BackgroundTask::BackgroundTask(QWidget& owner) : owner_(owner) {
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(kShowAfterMs);
    connect(&showTimer_, &QTimer::timeout, this, &BackgroundTask::showProgress);
    pollTimer_.setInterval(kPollMs);
    connect(&pollTimer_, &QTimer::timeout, this, &BackgroundTask::pollProgress);
}

BackgroundTask::~BackgroundTask() {
    if (worker_.joinable()) {
        progress_->cancel();
        worker_.join();
    }
}

void BackgroundTask::start(const QString& label, Work work, std::function<void()> cancelled) {
    if (dialog_ == nullptr) {
        dialog_ = new QDialog(&owner_);
        dialog_->setObjectName(QStringLiteral("taskProgress"));
        dialog_->setWindowTitle(owner_.windowTitle());
        dialog_->setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(dialog_);
        label_ = new QLabel(dialog_);
        bar_ = new QProgressBar(dialog_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog_);
        buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("taskCancel"));
        layout->addWidget(label_);
        layout->addWidget(bar_);
        layout->addWidget(buttons);
        // Cancel, Esc and the close box all cancel.
        connect(dialog_, &QDialog::rejected, this, &BackgroundTask::cancel);
        connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
    }
    label_->setText(label);
    progress_ = std::make_unique<TaskProgress>();
    cancelled_ = std::move(cancelled);
    showTimer_.start();
    worker_ = std::thread([this, work = std::move(work), progress = progress_.get()] {
        std::function<void()> done = work(*progress);
        QMetaObject::invokeMethod(
            this, [this, done = std::move(done)] { finish(done); }, Qt::QueuedConnection);
    });
}

void BackgroundTask::showProgress() {
    pollProgress();
    dialog_->show();
    pollTimer_.start();
}

void BackgroundTask::pollProgress() {
    const int permille = progress_->permille();
    bar_->setRange(0, permille < 0 ? 0 : 1000);  // an empty range shows a busy bar
    bar_->setValue(std::max(permille, 0));
}

void BackgroundTask::cancel() {
    if (!running() || progress_->cancelled()) return;
    progress_->cancel();
    showTimer_.stop();
    pollTimer_.stop();
    dialog_->hide();
    if (cancelled_) cancelled_();
}

void BackgroundTask::finish(const std::function<void()>& done) {
    worker_.join();
    showTimer_.stop();
    pollTimer_.stop();
    dialog_->hide();
    const bool cancelled = progress_->cancelled();
    progress_.reset();
    if (!cancelled && done) done();
}

}  // namespace talveron
