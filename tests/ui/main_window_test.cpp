#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <sstream>

#include "config/profile_file.h"
#include "engine/clock.h"
#include "talveron/version.h"
#include "ui/run_controller.h"
#include "ui/run_panels.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void runsFromValidateToTheClosingQuestion();
    void offersTheReportOfARunWithoutFindings();
    void reportsAnEditorThatCannotBeStarted();
    void cancelStopsTheMainPassAndSkipsTheReport();
    void showsTheAutomaticCancelBeforeTheQuestion();
    void endsATooSmallFileWithItsMessageOnly();
    void validatesAFileOfExactlyTheSmallestSize();
    void endsAnUnreadableFileWithItsMessageOnly();
    void reportsAResultsFileThatCouldNotBeWritten();
    void cancelledFileDialogOnlyResetsTheDisplay();
    void disablesTheRunWithoutAConfiguration_data();
    void disablesTheRunWithoutAConfiguration();
    void viewResultsOpensReportsInTheEditorAndResultsInTheViewer();
    void readsTheOptionsAgainAfterTheDialog();
    void opensHelpDocumentsFromTheFirstPlaceThatHasThem();
    void showsTheVersionInTheAboutBox();
    void groupsCountsByThousands();

private:
    void makeWindow();
    fs::path copyToTemp(const fs::path& source, const std::string& name);
    fs::path writeFile(const std::string& name, const std::string& bytes);
    void run(const fs::path& loadFile);
    template <typename Widget>
    Widget* find(const char* name) const {
        Widget* widget = window_->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) qFatal("no widget named %s", name);
        return widget;
    }
    QString counter(int index) const;

    std::unique_ptr<QTemporaryDir> temp_;
    fs::path root_;
    fs::path configuration_;
    std::vector<fs::path> helpDirectories_;
    testing::ScriptedDialogs dialogs_;
    testing::RecordingOpener opener_;
    SystemClock clock_;
    std::unique_ptr<MainWindow> window_;
};

namespace {

constexpr int kRunTimeout = 60000;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
const fs::path kUiData = TALVERON_UI_TEST_DATA_DIR;

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

void MainWindowTest::init() {
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temp_->isValid());
    root_ = temp_->path().toStdString();
    configuration_ = root_ / "config";
    fs::create_directories(configuration_);
    fs::copy_file(kSampleData / "TALVERON.CFG", configuration_ / "TALVERON.CFG");
    helpDirectories_ = {root_ / "here", root_ / "installed"};
    dialogs_ = testing::ScriptedDialogs();
    opener_ = testing::RecordingOpener();
}

void MainWindowTest::cleanup() {
    window_.reset();
    temp_.reset();
}

void MainWindowTest::makeWindow() {
    window_ = std::make_unique<MainWindow>(
        MainWindowServices{dialogs_, opener_, clock_, configuration_, helpDirectories_});
    window_->show();
}

fs::path MainWindowTest::copyToTemp(const fs::path& source, const std::string& name) {
    const fs::path target = root_ / name;
    fs::copy_file(source, target);
    return target;
}

fs::path MainWindowTest::writeFile(const std::string& name, const std::string& bytes) {
    const fs::path target = root_ / name;
    std::ofstream(target, std::ios::binary) << bytes;
    return target;
}

void MainWindowTest::run(const fs::path& loadFile) {
    dialogs_.files.push_back(Q(loadFile));
    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);
}

QString MainWindowTest::counter(int index) const {
    return window_->findChild<QLabel*>(QStringLiteral("Panel3D2_%1").arg(index))->text();
}

void MainWindowTest::runsFromValidateToTheClosingQuestion() {
    makeWindow();
    const fs::path load = copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat");
    dialogs_.answers = {true};
    QString viewerTotal;
    dialogs_.onModal = [&](QDialog& viewer) {
        viewerTotal = viewer.findChild<QLabel*>(QStringLiteral("ltotal"))->text();
    };
    run(load);

    QCOMPARE(dialogs_.log,
             (std::vector<QString>{QStringLiteral("choose: Select a file to Load"),
                                   QStringLiteral("ask: MORVA Validation Complete | "
                                                  "View encountered errors/warnings?"),
                                   QStringLiteral("modal: e")}));
    QCOMPARE(dialogs_.messages.back().icon, MessageIcon::Question);
    QCOMPARE(dialogs_.choices[0].filters, QStringList{QStringLiteral("Data (*.dat)")});
    QCOMPARE(dialogs_.choices[0].defaultSuffix, QStringLiteral("dat"));
    QCOMPARE(viewerTotal, QStringLiteral("3"));

    // Header and three dose records: one warning and two errors, all on dose records.
    const std::vector<QString> expected{
        QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("0"),
        QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
        QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("2")};
    for (int i = 0; i < 12; ++i) QCOMPARE(counter(i), expected[static_cast<std::size_t>(i)]);
    QCOMPARE(find<QProgressBar>("overall")->value(), 100);
    QCOMPARE(find<QProgressBar>("progress")->value(), 100);
    QVERIFY(find<QLabel>("TheTime")->text().startsWith(QStringLiteral("0:00:")));
    QCOMPARE(find<QGroupBox>("Frame3D3")->title(), QStringLiteral("ERROR Information"));
    QCOMPARE(find<QLabel>("loadfile")->text(), Q(load));
    QCOMPARE(window_->windowTitle(), QStringLiteral("MORVA Data File Validation"));

    // Idle again.
    QCOMPARE(find<QPushButton>("Command1")->text(), QStringLiteral("VALIDATE"));
    QVERIFY(find<QMenu>("mnu_file")->menuAction()->isEnabled());
    QVERIFY(find<QMenu>("mnu_options")->menuAction()->isEnabled());
    QVERIFY(find<QLabel>("banner")->isVisible());
    QVERIFY(!find<QLineEdit>("Text1")->isVisible());
    const std::string results = ReadAll(root_ / "load.err");
    QVERIFY(results.ends_with("[ERROR]\r\nCount=3\r\n"));
    QVERIFY(fs::exists(root_ / "load.dst"));
}

void MainWindowTest::offersTheReportOfARunWithoutFindings() {
    makeWindow();
    const fs::path load = copyToTemp(kSampleData / "sample.dat", "sample.dat");
    dialogs_.answers = {true};
    run(load);
    QCOMPARE(dialogs_.logOf(QStringLiteral("ask")),
             (std::vector<QString>{QStringLiteral(
                 "ask: MORVA Validation Complete | View Distribution Summary Report?")}));
    QCOMPARE(opener_.textFiles, (std::vector<fs::path>{root_ / "sample.dst"}));
    QVERIFY(!fs::exists(root_ / "sample.err"));

    // Declined, nothing is opened.
    dialogs_.answers = {false};
    run(load);
    QCOMPARE(opener_.textFiles.size(), std::size_t{1});
}

void MainWindowTest::reportsAnEditorThatCannotBeStarted() {
    makeWindow();
    const fs::path load = copyToTemp(kSampleData / "sample.dat", "sample.dat");
    dialogs_.answers = {true};
    opener_.failure = "no text editor could be started";
    run(load);
    QCOMPARE(dialogs_.log.back(),
             QStringLiteral("message: Error Viewing Report | no text editor could be started"));
    QCOMPARE(dialogs_.messages.back().icon, MessageIcon::Warning);
}

void MainWindowTest::cancelStopsTheMainPassAndSkipsTheReport() {
    makeWindow();
    // The sample's records over and over: long enough to be cancelled in its main pass.
    const std::string sample = ReadAll(kSampleData / "sample.dat");
    const std::size_t headerEnd = sample.find("\r\n") + 2;
    std::string big = sample;
    constexpr int kCopies = 2000;
    for (int copy = 1; copy < kCopies; ++copy) big.append(sample, headerEnd);
    const fs::path load = writeFile("big.dat", big);
    const auto lines = static_cast<std::int64_t>(std::count(big.begin(), big.end(), '\n'));

    auto* controller = window_->findChild<RunController*>();
    QVERIFY(controller != nullptr);
    bool sawRunningState = false;
    QMetaObject::Connection cancelOnFirstLine =
        connect(controller, &RunController::lineChanged, this, [&](qint64, const QString&) {
            sawRunningState = find<QPushButton>("Command1")->text() == QStringLiteral("CANCEL") &&
                              !find<QPushButton>("Command2")->isEnabled() &&
                              !find<QMenu>("mnu_file")->menuAction()->isEnabled() &&
                              !find<QMenu>("mnu_options")->menuAction()->isEnabled() &&
                              !find<QLabel>("banner")->isVisible() &&
                              find<QLineEdit>("Text1")->isVisible();
            QObject::disconnect(cancelOnFirstLine);
            QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        });
    run(load);

    QVERIFY(sawRunningState);
    const qint64 processed = QString(counter(9)).remove(QLatin1Char(',')).toLongLong();
    QVERIFY2(processed > 0 && processed < lines, qPrintable(counter(9)));
    QVERIFY(!fs::exists(root_ / "big.dst"));
    QVERIFY(ReadAll(root_ / "big.err").find("[ERROR]\r\nCount=") != std::string::npos);
    // Still the closing question on the findings, never the report's.
    QCOMPARE(dialogs_.logOf(QStringLiteral("ask")),
             (std::vector<QString>{QStringLiteral(
                 "ask: MORVA Validation Complete | View encountered errors/warnings?")}));
    QCOMPARE(window_->windowTitle(), QStringLiteral("MORVA Data File Validation"));
    QCOMPARE(find<QPushButton>("Command1")->text(), QStringLiteral("VALIDATE"));
}

void MainWindowTest::showsTheAutomaticCancelBeforeTheQuestion() {
    const fs::path config = configuration_ / "TALVERON.CFG";
    QVERIFY(WriteProfileValue(config, "AutoCancel", "TE", "-1").ok());
    QVERIFY(WriteProfileValue(config, "AutoCancel", "TE_VAL", "0").ok());
    makeWindow();
    run(copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat"));
    QCOMPARE(dialogs_.log,
             (std::vector<QString>{QStringLiteral("choose: Select a file to Load"),
                                   QStringLiteral("message: Validation Cancelled Automatically | "
                                                  "Total # of allowable errors was exceeded!"),
                                   QStringLiteral("ask: MORVA Validation Complete | "
                                                  "View encountered errors/warnings?")}));
    QCOMPARE(dialogs_.messages[0].icon, MessageIcon::Warning);
    QVERIFY(!fs::exists(root_ / "load.dst"));
}

void MainWindowTest::endsATooSmallFileWithItsMessageOnly() {
    makeWindow();
    const fs::path load = writeFile("small.dat", std::string(322, 'x'));
    run(load);
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0],
             (OperatorMessage{load.string(), "File is too small!", MessageIcon::None, {}}));
    QCOMPARE(find<QPushButton>("Command1")->text(), QStringLiteral("VALIDATE"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Talveron"));
}

void MainWindowTest::validatesAFileOfExactlyTheSmallestSize() {
    makeWindow();
    const std::string sample = ReadAll(kSampleData / "sample.dat");
    std::string bytes = sample.substr(0, sample.find("\r\n") + 2);
    bytes += std::string(323 - bytes.size() - 2, 'x') + "\r\n";
    QCOMPARE(bytes.size(), std::size_t{323});
    run(writeFile("smallest.dat", bytes));
    QVERIFY(dialogs_
                .logOf(QStringLiteral("message: ") +
                       QString::fromStdString((root_ / "smallest.dat").string()))
                .empty());
    QCOMPARE(counter(9), QStringLiteral("2"));
}

void MainWindowTest::endsAnUnreadableFileWithItsMessageOnly() {
    makeWindow();
    fs::create_directory(root_ / "folder.dat");
    run(root_ / "folder.dat");
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0].title, std::string("Talveron"));
    QCOMPARE(dialogs_.messages[0].text, std::string("Error Reading Load File!"));
    QCOMPARE(dialogs_.messages[0].icon, MessageIcon::None);
    QVERIFY(dialogs_.messages[0].detail.find("folder.dat") != std::string::npos);
}

void MainWindowTest::reportsAResultsFileThatCouldNotBeWritten() {
    makeWindow();
    fs::create_directory(root_ / "load.err");  // where the results file would go
    run(copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat"));
    const std::vector<QString> messages = dialogs_.logOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].startsWith(QStringLiteral("message: Results File Not Written | ")));
    QVERIFY(messages[0].contains(Q(root_ / "load.err")));
    // No viewer on a file that is not there; the report this run wrote is offered instead.
    QCOMPARE(dialogs_.logOf(QStringLiteral("ask")),
             (std::vector<QString>{QStringLiteral(
                 "ask: MORVA Validation Complete | View Distribution Summary Report?")}));
}

void MainWindowTest::cancelledFileDialogOnlyResetsTheDisplay() {
    makeWindow();
    const fs::path load = copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat");
    run(load);
    QCOMPARE(counter(11), QStringLiteral("2"));
    const std::size_t logged = dialogs_.log.size();

    find<QAction>("mnu_validate")->trigger();  // the menu item is the button
    QCOMPARE(dialogs_.log.size(), logged + 1);
    QCOMPARE(dialogs_.log.back(), QStringLiteral("choose: Select a file to Load"));
    for (int i = 0; i < 12; ++i) QCOMPARE(counter(i), QStringLiteral("0"));
    QCOMPARE(find<QLineEdit>("info")->text(), QString());
    QCOMPARE(find<QGroupBox>("Frame3D3")->title(), QStringLiteral("Information"));
    QCOMPARE(find<QLabel>("loadfile")->text(), Q(load));
    QCOMPARE(find<QPushButton>("Command1")->text(), QStringLiteral("VALIDATE"));
}

void MainWindowTest::disablesTheRunWithoutAConfiguration_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QString() << QStringLiteral("No such file");
    QTest::newRow("no comment layout")
        << QStringLiteral("[H]\r\n1=A\r\n[D]\r\n1=A\r\n[I]\r\n1=A\r\n[A]\r\nLen=3\r\n")
        << QStringLiteral("record layouts");
}

void MainWindowTest::disablesTheRunWithoutAConfiguration() {
    QFETCH(QString, content);
    QFETCH(QString, reason);
    const fs::path config = configuration_ / "TALVERON.CFG";
    fs::remove(config);
    if (!content.isEmpty()) std::ofstream(config, std::ios::binary) << content.toStdString();
    makeWindow();

    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    const OperatorMessage& message = dialogs_.messages[0];
    QCOMPARE(message.title, std::string("TALVERON.CFG"));
    QCOMPARE(message.text, std::string("Configuration file invalid or not found!"));
    QCOMPARE(message.icon, MessageIcon::Warning);
    QVERIFY(QString::fromStdString(message.detail).contains(reason));
    QVERIFY(message.detail.find(config.string()) != std::string::npos);
    QVERIFY(message.detail.find("talveron-cli --install-config") != std::string::npos);
    QVERIFY(!find<QPushButton>("Command1")->isEnabled());
    QVERIFY(!find<QPushButton>("Command2")->isEnabled());
    QVERIFY(!find<QAction>("mnu_validate")->isEnabled());
    QVERIFY(!find<QAction>("mnu_view_results")->isEnabled());
    QVERIFY(find<QAction>("mnu_auto_cancel")->isEnabled());
}

void MainWindowTest::viewResultsOpensReportsInTheEditorAndResultsInTheViewer() {
    makeWindow();
    dialogs_.files = {Q(root_ / "RUN.DsT"), Q(root_ / "run.err"), Q(root_ / "run.txt")};
    for (int i = 0; i < 4; ++i) QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);

    QCOMPARE(dialogs_.choices[0].title, QStringLiteral("Select a Error/Report File to View"));
    QCOMPARE(dialogs_.choices[0].filters,
             (QStringList{QStringLiteral("Error (*.err)"), QStringLiteral("Reports (*.dst)")}));
    QCOMPARE(dialogs_.choices[0].defaultSuffix, QStringLiteral("err"));
    QCOMPARE(opener_.textFiles, (std::vector<fs::path>{root_ / "RUN.DsT"}));
    // Anything but a report goes to the viewer; the fourth dialog was cancelled.
    QCOMPARE(dialogs_.logOf(QStringLiteral("modal")).size(), std::size_t{2});
    QCOMPARE(dialogs_.log.size(), std::size_t{6});
    QVERIFY(find<QLabel>("banner")->isVisible());
}

void MainWindowTest::readsTheOptionsAgainAfterTheDialog() {
    makeWindow();
    const fs::path load = copyToTemp(kSampleData / "sample.dat", "sample.dat");
    dialogs_.onModal = [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("chk_gdr"))->setChecked(false);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okb")), Qt::LeftButton);
    };
    find<QAction>("mnu_auto_cancel")->trigger();
    run(load);
    QCOMPARE(dialogs_.log.back(), QStringLiteral("message: MORVA Validation Complete | Done!"));
    QVERIFY(!fs::exists(root_ / "sample.dst"));

    // Cancel writes nothing, but what the file says by then counts.
    const fs::path config = configuration_ / "TALVERON.CFG";
    dialogs_.onModal = [&config](QDialog& dialog) {
        QVERIFY(WriteProfileValue(config, "OutputOptions", "GDR", "-1").ok());
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelb")),
                          Qt::LeftButton);
    };
    find<QAction>("mnu_auto_cancel")->trigger();
    run(load);
    QCOMPARE(dialogs_.log.back(),
             QStringLiteral("ask: MORVA Validation Complete | View Distribution Summary Report?"));
}

void MainWindowTest::opensHelpDocumentsFromTheFirstPlaceThatHasThem() {
    for (const fs::path& directory : helpDirectories_) fs::create_directories(directory);
    std::ofstream(helpDirectories_[0] / "howto.rtf") << "{\\rtf1 }";
    std::ofstream(helpDirectories_[1] / "howto.rtf") << "{\\rtf1 }";
    std::ofstream(helpDirectories_[1] / "genref.rtf") << "{\\rtf1 }";
    makeWindow();
    find<QAction>("mnu_help_users_guide")->trigger();
    find<QAction>("mnu_help_reference")->trigger();
    QCOMPARE(opener_.documents, (std::vector<fs::path>{helpDirectories_[0] / "howto.rtf",
                                                       helpDirectories_[1] / "genref.rtf"}));
    find<QAction>("mnu_help_administrative")->trigger();
    QCOMPARE(opener_.documents.size(), std::size_t{2});
    QCOMPARE(dialogs_.log.back(),
             QStringLiteral("message: Talveron | The help document \"sysadm.rtf\" was not found."));
}

void MainWindowTest::showsTheVersionInTheAboutBox() {
    makeWindow();
    QString version;
    QString build;
    dialogs_.onModal = [&](QDialog& about) {
        version = about.findChild<QLabel*>(QStringLiteral("VerLabel"))->text();
        build = about.findChild<QLabel*>(QStringLiteral("BuildLabel"))->text();
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("OkCommand")),
                          Qt::LeftButton);
        QVERIFY(!about.isVisible());
    };
    find<QAction>("mnu_help_about")->trigger();
    QCOMPARE(dialogs_.log, (std::vector<QString>{QStringLiteral("modal: About")}));
    QCOMPARE(version, QStringLiteral("Talveron.exe  Version 3.2  for 32-bit OS (01-16-2004)"));
    QCOMPARE(build, QStringLiteral("Version ") + QString::fromLatin1(kVersion));
}

void MainWindowTest::groupsCountsByThousands() {
    RunPanels panels;
    RunCounters counters;
    counters.values[RunCounters::kDoseRecords] = 12345;
    counters.values[RunCounters::kTotalRecords] = 1234567;
    panels.showCounters(counters);
    QCOMPARE(panels.findChild<QLabel*>(QStringLiteral("Panel3D2_0"))->text(),
             QStringLiteral("12,345"));
    QCOMPARE(panels.findChild<QLabel*>(QStringLiteral("Panel3D2_9"))->text(),
             QStringLiteral("1,234,567"));
    QCOMPARE(panels.findChild<QLabel*>(QStringLiteral("Panel3D2_1"))->text(), QStringLiteral("0"));
}

}  // namespace talveron

QTEST_MAIN(talveron::MainWindowTest)
#include "main_window_test.moc"
