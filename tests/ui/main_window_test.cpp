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
#include "run/clock.h"
#include "talveron/version.h"
#include "ui/run_controller.h"
#include "ui/run_panels.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRunTimeout = 60000;

const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
const fs::path kUiData = TALVERON_UI_TEST_DATA_DIR;

const QString kIdle =
    u"VALIDATE Command1 Command2 mnu_validate mnu_view_results mnu_file mnu_options banner"_s;
const QString kFindingsQuestion =
    u"ask: MORVA Validation Complete | View encountered errors/warnings?"_s;
const QString kReportQuestion =
    u"ask: MORVA Validation Complete | View Distribution Summary Report?"_s;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
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

    void cleanup() {
        window_.reset();
        temp_.reset();
    }

    void runsFromValidateToTheClosingQuestion() {
        makeWindow();
        const fs::path load = copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat");
        dialogs_.answers = {true};
        QString viewerTotal;
        dialogs_.onModal = [&](QDialog& viewer) {
            viewerTotal = viewer.findChild<QLabel*>(u"ltotal"_s)->text();
        };
        run(load);

        QCOMPARE(dialogs_.log, (std::vector<QString>{u"choose: Select a file to Load"_s,
                                                     kFindingsQuestion, u"modal: e"_s}));
        QCOMPARE(dialogs_.choices[0].filters, QStringList{u"Data (*.dat)"_s});
        QCOMPARE(dialogs_.choices[0].defaultSuffix, u"dat"_s);
        QCOMPARE(viewerTotal, u"3"_s);

        // Header and three dose records: one warning and two errors, all on dose records.
        QCOMPARE(counters(), u"3 1 2 0 0 0 0 0 0 4 1 2"_s);
        QCOMPARE(find<QProgressBar>("overall")->value(), 100);
        QCOMPARE(find<QProgressBar>("progress")->value(), 100);
        QVERIFY(find<QLabel>("TheTime")->text().startsWith(u"0:00:"_s));
        QCOMPARE(find<QGroupBox>("Frame3D3")->title(), u"ERROR Information"_s);
        QCOMPARE(find<QLabel>("loadfile")->text(), Q(load));
        QCOMPARE(window_->windowTitle(), u"MORVA Data File Validation"_s);
        QCOMPARE(runControls(), kIdle);
        QVERIFY(fs::exists(root_ / "load.dst"));

        // A cancelled file dialog only resets the display.
        const std::size_t logged = dialogs_.log.size();
        find<QAction>("mnu_validate")->trigger();  // the menu item is the button
        QCOMPARE(dialogs_.log.size(), logged + 1);
        QCOMPARE(dialogs_.log.back(), u"choose: Select a file to Load"_s);
        QCOMPARE(counters(), u"0 0 0 0 0 0 0 0 0 0 0 0"_s);
        QCOMPARE(find<QLineEdit>("info")->text(), QString());
        QCOMPARE(find<QGroupBox>("Frame3D3")->title(), u"Information"_s);
        QCOMPARE(find<QLabel>("loadfile")->text(), Q(load));
        QCOMPARE(runControls(), kIdle);
    }

    void offersTheReportOfARunWithoutFindings() {
        makeWindow();
        const fs::path load = copyToTemp(kSampleData / "sample.dat", "sample.dat");
        dialogs_.answers = {false};  // declined: nothing is opened
        run(load);
        QCOMPARE(dialogs_.logOf(u"ask"_s), std::vector{kReportQuestion});
        QVERIFY(opener_.textFiles.empty());
        QVERIFY(!fs::exists(root_ / "sample.err"));

        dialogs_.answers = {true};
        opener_.failure = "no text editor could be started";
        run(load);
        QCOMPARE(opener_.textFiles, (std::vector<fs::path>{root_ / "sample.dst"}));
        QCOMPARE(dialogs_.log.back(),
                 u"message: Error Viewing Report | no text editor could be started"_s);
        QCOMPARE(dialogs_.messages.back().icon, MessageIcon::Warning);
    }

    void cancelStopsTheMainPassAndSkipsTheReport() {
        makeWindow();
        // The sample's records over and over: long enough to be cancelled in its main pass.
        const std::string sample = ReadAll(kSampleData / "sample.dat");
        std::string big = sample;
        for (int copy = 1; copy < 2000; ++copy) big.append(sample, sample.find("\r\n") + 2);
        const fs::path load = writeFile("big.dat", big);

        auto* controller = window_->findChild<RunController*>();
        QVERIFY(controller != nullptr);
        QString running;
        QMetaObject::Connection cancelOnFirstLine =
            connect(controller, &RunController::lineChanged, this, [&](qint64, const QString&) {
                running = runControls();
                QObject::disconnect(cancelOnFirstLine);
                QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
            });
        run(load);

        QCOMPARE(running, u"CANCEL Command1 mnu_validate mnu_view_results Text1"_s);
        const qint64 processed = counters().section(u' ', 9, 9).remove(u',').toLongLong();
        QVERIFY2(processed > 0 && processed < std::count(big.begin(), big.end(), '\n'),
                 qPrintable(counters()));
        QVERIFY(!fs::exists(root_ / "big.dst"));
        // Still the closing question on the findings, never the report's.
        QCOMPARE(dialogs_.logOf(u"ask"_s), std::vector{kFindingsQuestion});
        QCOMPARE(window_->windowTitle(), u"MORVA Data File Validation"_s);
        QCOMPARE(runControls(), kIdle);
    }

    void showsTheAutomaticCancelBeforeTheQuestion() {
        const fs::path config = configuration_ / "TALVERON.CFG";
        QVERIFY(WriteProfileValue(config, "AutoCancel", "TE", "-1").ok());
        QVERIFY(WriteProfileValue(config, "AutoCancel", "TE_VAL", "0").ok());
        makeWindow();
        run(copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat"));
        QCOMPARE(dialogs_.log,
                 (std::vector<QString>{u"choose: Select a file to Load"_s,
                                       u"message: Validation Cancelled Automatically | "
                                       u"Total # of allowable errors was exceeded!"_s,
                                       kFindingsQuestion}));
    }

    void endsATooSmallFileWithItsMessageOnly() {
        makeWindow();
        const fs::path small = writeFile("small.dat", std::string(322, 'x'));
        run(small);
        QCOMPARE(dialogs_.messages,
                 (std::vector<OperatorMessage>{
                     {small.string(), "File is too small!", MessageIcon::None, {}}}));
        QCOMPARE(runControls(), kIdle);
        QCOMPARE(window_->windowTitle(), u"Talveron"_s);
    }

    void reportsAResultsFileThatCouldNotBeWritten() {
        makeWindow();
        fs::create_directory(root_ / "load.err");  // where the results file would go
        run(copyToTemp(kUiData / "one-warning-two-errors.dat", "load.dat"));
        const std::vector<QString> messages = dialogs_.logOf(u"message"_s);
        QCOMPARE(messages.size(), std::size_t{1});
        QVERIFY(messages[0].startsWith(u"message: Results File Not Written | "_s));
        QVERIFY(messages[0].contains(Q(root_ / "load.err")));
        // No viewer on a file that is not there; the report this run wrote is offered instead.
        QCOMPARE(dialogs_.logOf(u"ask"_s), std::vector{kReportQuestion});
    }

    void disablesTheRunWithoutAConfiguration_data() {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString() << u"does not exist"_s;
        QTest::newRow("no comment layout")
            << u"[H]\r\n1=A\r\n[D]\r\n1=A\r\n[I]\r\n1=A\r\n[A]\r\nLen=3\r\n"_s
            << u"record layouts"_s;
    }

    void disablesTheRunWithoutAConfiguration() {
        QFETCH(QString, content);
        QFETCH(QString, reason);
        const fs::path config = configuration_ / "TALVERON.CFG";
        fs::remove(config);
        if (!content.isEmpty()) writeFile("config/TALVERON.CFG", content.toStdString());
        makeWindow();

        QCOMPARE(
            dialogs_.log,
            std::vector{u"message: TALVERON.CFG | Configuration file invalid or not found!"_s});
        QCOMPARE(dialogs_.messages[0].icon, MessageIcon::Warning);
        const QString detail = QString::fromStdString(dialogs_.messages[0].detail);
        QVERIFY(detail.contains(reason) && detail.contains(Q(config)));
        QVERIFY(detail.contains(u"talveron-cli --install-config"_s));
        QCOMPARE(runControls(), u"VALIDATE mnu_file mnu_options banner"_s);
        QVERIFY(find<QAction>("mnu_auto_cancel")->isEnabled());
    }

    void viewResultsOpensReportsInTheEditorAndResultsInTheViewer() {
        makeWindow();
        dialogs_.files = {Q(root_ / "RUN.DsT"), Q(root_ / "run.err"), Q(root_ / "run.txt")};
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);

        QCOMPARE(dialogs_.choices[0].title, u"Select a Error/Report File to View"_s);
        QCOMPARE(dialogs_.choices[0].filters,
                 (QStringList{u"Error (*.err)"_s, u"Reports (*.dst)"_s}));
        QCOMPARE(dialogs_.choices[0].defaultSuffix, u"err"_s);
        QCOMPARE(opener_.textFiles, (std::vector<fs::path>{root_ / "RUN.DsT"}));
        // Anything but a report goes to the viewer; the fourth dialog was cancelled.
        QCOMPARE(dialogs_.logOf(u"modal"_s).size(), std::size_t{2});
        QCOMPARE(dialogs_.log.size(), std::size_t{6});
        QVERIFY(find<QLabel>("banner")->isVisible());
    }

    void readsTheOptionsAgainAfterTheDialog() {
        makeWindow();
        const fs::path load = copyToTemp(kSampleData / "sample.dat", "sample.dat");
        dialogs_.onModal = [](QDialog& dialog) {
            dialog.findChild<QCheckBox*>(u"chk_gdr"_s)->setChecked(false);
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"okb"_s), Qt::LeftButton);
        };
        find<QAction>("mnu_auto_cancel")->trigger();
        run(load);
        QCOMPARE(dialogs_.log.back(), u"message: MORVA Validation Complete | Done!"_s);
        QVERIFY(!fs::exists(root_ / "sample.dst"));

        // Cancel writes nothing, but what the file says by then counts.
        const fs::path config = configuration_ / "TALVERON.CFG";
        dialogs_.onModal = [&config](QDialog& dialog) {
            QVERIFY(WriteProfileValue(config, "OutputOptions", "GDR", "-1").ok());
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"cancelb"_s), Qt::LeftButton);
        };
        find<QAction>("mnu_auto_cancel")->trigger();
        run(load);
        QCOMPARE(dialogs_.log.back(), kReportQuestion);
    }

    void opensHelpDocumentsFromTheFirstPlaceThatHasThem() {
        for (const fs::path& directory : helpDirectories_) fs::create_directories(directory);
        writeFile("here/howto.md", "# Guide");
        writeFile("installed/howto.md", "# Guide");
        writeFile("installed/genref.md", "# Reference");
        makeWindow();
        find<QAction>("mnu_help_users_guide")->trigger();
        find<QAction>("mnu_help_reference")->trigger();
        QCOMPARE(opener_.documents, (std::vector<fs::path>{helpDirectories_[0] / "howto.md",
                                                           helpDirectories_[1] / "genref.md"}));
        find<QAction>("mnu_help_administrative")->trigger();
        QCOMPARE(opener_.documents.size(), std::size_t{2});
        QCOMPARE(dialogs_.log.back(),
                 u"message: Talveron | The help document \"sysadm.md\" was not found."_s);
    }

    void showsTheVersionInTheAboutBox() {
        makeWindow();
        QString version;
        QString build;
        dialogs_.onModal = [&](QDialog& about) {
            version = about.findChild<QLabel*>(u"VerLabel"_s)->text();
            build = about.findChild<QLabel*>(u"BuildLabel"_s)->text();
            QTest::mouseClick(about.findChild<QPushButton*>(u"OkCommand"_s), Qt::LeftButton);
            QVERIFY(!about.isVisible());
        };
        find<QAction>("mnu_help_about")->trigger();
        QCOMPARE(dialogs_.log, std::vector{u"modal: About"_s});
        QCOMPARE(version, u"Talveron.exe  Version 3.2  for 32-bit OS (01-16-2004)"_s);
        QCOMPARE(build, u"Version "_s + QString::fromLatin1(kVersion));
    }

    void groupsCountsByThousands() {
        RunPanels panels;
        RunCounters counters;
        counters.values[RunCounters::kTotalRecords] = 1234567;
        panels.showCounters(counters);
        QCOMPARE(panels.findChild<QLabel*>(u"Panel3D2_9"_s)->text(), u"1,234,567"_s);
    }

private:
    void makeWindow() {
        window_ = std::make_unique<MainWindow>(
            MainWindowServices{dialogs_, opener_, clock_, configuration_, helpDirectories_});
        window_->show();
    }

    fs::path writeFile(const std::string& name, const std::string& bytes) const {
        const fs::path target = root_ / name;
        std::ofstream(target, std::ios::binary) << bytes;
        return target;
    }

    fs::path copyToTemp(const fs::path& source, const std::string& name) const {
        return writeFile(name, ReadAll(source));
    }

    void run(const fs::path& loadFile) {
        dialogs_.files.push_back(Q(loadFile));
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);
    }
    template <typename Widget>
    Widget* find(const char* name) const {
        Widget* widget = window_->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) qFatal("no widget named %s", name);
        return widget;
    }
    /// The twelve counters, blank-separated.
    QString counters() const {
        QStringList texts;
        for (int i = 0; i < 12; ++i)
            texts << window_->findChild<QLabel*>(u"Panel3D2_%1"_s.arg(i))->text();
        return texts.join(u' ');
    }
    /// The caption of VALIDATE, then the names of the controls a run switches that are on.
    QString runControls() const {
        QStringList on{find<QPushButton>("Command1")->text()};
        for (const char* button : {"Command1", "Command2"}) {
            if (find<QPushButton>(button)->isEnabled()) on << QString::fromLatin1(button);
        }
        for (const char* action : {"mnu_validate", "mnu_view_results"}) {
            if (find<QAction>(action)->isEnabled()) on << QString::fromLatin1(action);
        }
        if (find<QMenu>("mnu_file")->menuAction()->isEnabled()) on << u"mnu_file"_s;
        if (find<QMenu>("mnu_options")->menuAction()->isEnabled()) on << u"mnu_options"_s;
        if (find<QLabel>("banner")->isVisible()) on << u"banner"_s;
        if (find<QLineEdit>("Text1")->isVisible()) on << u"Text1"_s;
        return on.join(u' ');
    }

    static std::string ReadAll(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::unique_ptr<QTemporaryDir> temp_;
    fs::path root_;
    fs::path configuration_;
    std::vector<fs::path> helpDirectories_;
    testing::ScriptedDialogs dialogs_;
    testing::RecordingOpener opener_;
    SystemClock clock_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace talveron

QTEST_MAIN(talveron::MainWindowTest)
#include "main_window_test.moc"
