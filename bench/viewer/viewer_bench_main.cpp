// Times the results viewer of the desktop program on a results file: opening it up to the first
// finding on screen, and each kind of step, with the memory it took above start-up.
//
//   talveron-viewer-bench --config CFG RESULTS
//
// Prints one line of figures: "findings=N first_ms=T first_cpu_ms=T next_ms=T previous_ms=T
// first_step_ms=T last_ms=T jump_ms=T peak_above_startup_mb=M startup_mb=M". first_cpu_ms is the
// processor time all the program's threads used until the first finding, which other work on
// the machine does not stretch as it stretches the wall time. A step's figure is the slowest of
// its rounds (20 each), from the menu item to the window drawn with the new finding. Peak memory
// is the highest resident set of the process from just before the viewer opens (the kernel's
// peak is reset there) less the resident set at that moment. Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise.
#include <time.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "config/profile_file.h"
#include "config/record_layout.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/results_viewer.h"

namespace {

using namespace talveron;

constexpr int kRounds = 20;

/// Answers Step > Go To Finding with the next number of the jump list; nothing else is asked.
class BenchDialogs final : public Dialogs {
public:
    void showMessage(QWidget*, const OperatorMessage&) override {}
    bool ask(QWidget*, const OperatorMessage&) override { return false; }
    bool offer(QWidget*, const OperatorOffer&) override { return false; }
    QString chooseOpenFile(QWidget*, const FileChoice&) override { return {}; }
    void showModal(QDialog& dialog) override {
        dialog.findChild<QLineEdit*>(QStringLiteral("number"))->setText(QString::number(jumpTo));
        dialog.accept();
    }
    SavedFile chooseSaveFile(QWidget*, const SaveChoice&) override { return {}; }
    bool preparePrinter(QWidget*, QPrinter&) override { return false; }

    std::int64_t jumpTo = 1;
};

class NoOpener final : public ExternalOpener {
public:
    bool available() const override { return false; }
    std::string openTextFile(const std::filesystem::path&) override { return {}; }
    std::string openWebPage(const std::filesystem::path&) override { return {}; }
};

/// A figure of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0)
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
    return 0;
}

double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Milliseconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

/// The slowest of `rounds` steps by `action`, each until the window has been drawn.
double SlowestStep(QAction& action, int rounds, const std::function<void(int)>& before = {}) {
    double slowest = 0;
    for (int round = 0; round < rounds; ++round) {
        if (before) before(round);
        QElapsedTimer clock;
        clock.start();
        action.trigger();
        QCoreApplication::processEvents();
        slowest = std::max(slowest, Milliseconds(clock));
    }
    return slowest;
}

int Usage() {
    std::fputs("usage: talveron-viewer-bench --config CFG RESULTS\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::string(argv[1]) != "--config") return Usage();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    IniDocument configuration;
    if (!LoadIniFile(argv[2], configuration).ok()) return Usage();
    const LayoutTable layouts = LoadRecordLayouts(configuration);
    BenchDialogs dialogs;
    NoOpener opener;

    // From here on the kernel's peak counts only what the viewer takes.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long startupKb = StatusKb("VmRSS");

    const double cpuAtStart = ProcessCpuMs();
    QElapsedTimer clock;
    clock.start();
    ResultsViewer viewer(argv[3], layouts, dialogs, opener);
    viewer.show();
    if (!viewer.ready()) {
        QEventLoop waiting;
        QObject::connect(&viewer, &ResultsViewer::findingShown, &waiting, &QEventLoop::quit);
        waiting.exec();
    }
    QCoreApplication::processEvents();
    const double firstMs = Milliseconds(clock);
    const double firstCpuMs = ProcessCpuMs() - cpuAtStart;
    const std::int64_t total =
        viewer.findChild<QLabel*>(QStringLiteral("ltotal"))->text().toLongLong();

    const auto action = [&viewer](const char* name) -> QAction& {
        return *viewer.findChild<QAction*>(QString::fromLatin1(name));
    };
    const double nextMs = SlowestStep(action("mNext"), kRounds);
    const double previousMs = SlowestStep(action("mPrev"), kRounds);
    // First and Last in turns, so that each goes the whole way.
    const double lastMs =
        SlowestStep(action("mLast"), kRounds, [&](int) { action("mFirst").trigger(); });
    const double firstStepMs =
        SlowestStep(action("mFirst"), kRounds, [&](int) { action("mLast").trigger(); });
    std::mt19937_64 random(1);
    const double jumpMs = SlowestStep(action("mGoTo"), kRounds, [&](int) {
        dialogs.jumpTo = std::uniform_int_distribution<std::int64_t>(
            1, std::max<std::int64_t>(total, 1))(random);
    });
    if (viewer.current() != dialogs.jumpTo) return 2;

    std::printf(
        "findings=%lld first_ms=%.1f first_cpu_ms=%.1f next_ms=%.2f previous_ms=%.2f "
        "first_step_ms=%.2f "
        "last_ms=%.2f jump_ms=%.2f peak_above_startup_mb=%.1f startup_mb=%.1f\n",
        static_cast<long long>(total), firstMs, firstCpuMs, nextMs, previousMs, firstStepMs, lastMs,
        jumpMs, static_cast<double>(StatusKb("VmHWM") - startupKb) / 1024,
        static_cast<double>(startupKb) / 1024);
    return 0;
}
