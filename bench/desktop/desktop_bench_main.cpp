// Times a VALIDATE run of the desktop program's main window, with its panels drawn as a run
// updates them, and how long the window's event loop was kept waiting meanwhile.
//
//   talveron-desktop-bench --config CFG --as-of YYYYMMDD LOADFILE
//
// Prints "seconds=S longest_wait_ms=W window_cpu_ms=C" where S is the wall time from VALIDATE to
// the first closing message of the run, W the longest time a 10 ms timer of the window's thread
// waited beyond its interval and C the processor time the window's thread used meanwhile. Runs on
// the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "config/profile_file.h"
#include "engine/calendar.h"
#include "run/clock.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/main_window.h"

namespace {

using namespace talveron;

/// The date of the load file's submission for the date checks, as talveron-cli --as-of takes
/// it; elapsed time is the program's own.
class AsOfClock final : public Clock {
public:
    explicit AsOfClock(LocalDateTime asOf) : asOf_(asOf) {}
    LocalDateTime now() const override { return asOf_; }
    std::chrono::steady_clock::time_point steadyNow() const override { return system_.steadyNow(); }

private:
    LocalDateTime asOf_;
    SystemClock system_;
};

/// Picks the load file when VALIDATE asks for one; the first message or question after that
/// is the end of the run. Declines every offer, so no other window opens.
class BenchDialogs final : public Dialogs {
public:
    explicit BenchDialogs(QString loadFile) : loadFile_(std::move(loadFile)) {}

    void showMessage(QWidget*, const OperatorMessage& message) override { ended(message); }
    bool ask(QWidget*, const OperatorMessage& question) override {
        ended(question);
        return false;
    }
    bool offer(QWidget*, const OperatorOffer& offer) override {
        ended(offer.question);
        return false;
    }
    QString chooseOpenFile(QWidget*, const FileChoice&) override {
        clock_.start();
        windowCpuAtStart_ = ThreadCpuSeconds();
        return loadFile_;
    }
    SavedFile chooseSaveFile(QWidget*, const SaveChoice&) override { return {}; }
    void showModal(QDialog&) override {}
    bool preparePrinter(QWidget*, QPrinter&) override { return false; }

    std::optional<double> seconds;
    double windowCpuSeconds = 0;  ///< CPU time of the window's thread during the run
    std::string firstMessage;

private:
    static double ThreadCpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }

    void ended(const OperatorMessage& message) {
        if (seconds) return;
        seconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
        windowCpuSeconds = ThreadCpuSeconds() - windowCpuAtStart_;
        firstMessage = message.title + ": " + message.text;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    QString loadFile_;
    QElapsedTimer clock_;
    double windowCpuAtStart_ = 0;
};

/// Nothing is opened: every offer is declined.
class NoOpener final : public ExternalOpener {
public:
    bool available() const override { return false; }
    std::string openTextFile(const std::filesystem::path&) override { return {}; }
    std::string openWebPage(const std::filesystem::path&) override { return {}; }
};

int Usage() {
    std::fputs("usage: talveron-desktop-bench --config CFG --as-of YYYYMMDD LOADFILE\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 || std::string(argv[1]) != "--config" || std::string(argv[3]) != "--as-of") {
        return Usage();
    }
    LocalDateTime asOf;
    if (!ParseStamp(argv[4], asOf)) return Usage();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QTemporaryDir configurationDirectory;
    const std::filesystem::path configuration =
        std::filesystem::path(configurationDirectory.path().toStdString()) / kConfigurationFileName;
    std::error_code error;
    std::filesystem::copy_file(argv[2], configuration, error);
    if (error) {
        std::fprintf(stderr, "cannot copy %s: %s\n", argv[2], error.message().c_str());
        return 2;
    }

    BenchDialogs dialogs(QString::fromLocal8Bit(argv[5]));
    NoOpener opener;
    const AsOfClock clock(asOf);
    MainWindow window({dialogs, opener, clock, configuration.parent_path(), {}, {}});
    window.show();

    // The longest wait of a 10 ms timer beyond its interval: how long a click would go unanswered.
    QElapsedTimer sinceTick;
    qint64 longestWaitMs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longestWaitMs = std::max(longestWaitMs, sinceTick.restart() - 10); });
    QTimer::singleShot(0, &window, [&] {
        sinceTick.start();
        probe.start(10);
        window.validate();
    });
    QApplication::exec();
    if (!dialogs.seconds) return 2;
    std::printf("seconds=%.3f longest_wait_ms=%lld window_cpu_ms=%.0f closing=\"%s\"\n",
                *dialogs.seconds, static_cast<long long>(longestWaitMs),
                dialogs.windowCpuSeconds * 1000, dialogs.firstMessage.c_str());
    return 0;
}
