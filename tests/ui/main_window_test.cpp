#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <fcntl.h>
#include <sys/file.h>

#include <memory>

#include "config/default_configuration.h"
#include "config/profile_file.h"
#include "support/test_support.h"
#include "ui/recent_files.h"
#include "ui/results_viewer.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRunTimeout = 60000;
const fs::path kSampleData = TALVERON_SAMPLE_DATA_DIR;
const fs::path kFindings = fs::path(TALVERON_UI_TEST_DATA_DIR) / "one-warning-two-errors.dat";
const QString kIdle =
    u"VALIDATE Command1 Command2 mnu_validate mnu_view_results mnu_file mnu_options banner"_s;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        temp_ = std::make_unique<testing::TemporaryDirectory>();
        root_ = temp_->path();
        fs::create_directories(root_ / "config");
        fs::copy_file(kSampleData / "TALVERON.CFG", root_ / "config" / "TALVERON.CFG");
        dialogs_ = testing::ScriptedDialogs();
        opener_ = testing::RecordingOpener();
    }

    void cleanup() {
        window_.reset();
        temp_.reset();
    }

    void runsFromValidateToTheClosingQuestion() {
        makeWindow();
        const fs::path load = copy(kFindings, "load.dat");
        QVERIFY(!find<QAction>("mnu_save_html")->isEnabled());
        dialogs_.answers = {true};
        run(load);
        QCOMPARE(dialogs_.log,
                 (std::vector<QString>{
                     u"choose: Select a file to Load"_s,
                     u"ask: MORVA Validation Complete | View encountered errors/warnings?"_s,
                     u"modal: e"_s}));
        // Header and three dose records: one warning and two errors, all on dose records.
        QCOMPARE(counters(), u"3 1 2 0 0 0 0 0 0 4 1 2"_s);
        QCOMPARE(find<QGroupBox>("Frame3D3")->title(), u"ERROR Information"_s);
        QCOMPARE(find<QLabel>("loadfile")->text(), Q(load));
        QCOMPARE(window_->windowTitle(), u"MORVA Data File Validation"_s);
        QCOMPARE(runControls(), kIdle);
        QCOMPARE(find<QLabel>("sinceLastRun")->text(), QString());

        // The report of the run, personal data masked unless the operator says otherwise.
        dialogs_.files.push_back(Q(root_ / "load.html"));
        find<QAction>("mnu_save_html")->trigger();
        QVERIFY(dialogs_.saves.at(0).checked);
        const std::string html = testing::ReadBytes(root_ / "load.html");
        QVERIFY(html.find("personal data masked") != std::string::npos);
        QVERIFY(html.find("913275668") == std::string::npos && html.find("SexList") != html.npos);
        QCOMPARE(opener_.webPages, std::vector{root_ / "load.html"});

        // The next run starts from nothing, not from the last run's figures. Line 3's Employee_ID
        // is mended and line 4's birth date is broken: one finding fixed, its two are new.
        std::string bytes = testing::ReadBytes(load);
        bytes.replace(bytes.find("9O78"), 2, "90");
        testing::WriteBytes(load, bytes.replace(bytes.find("19860829"), 8, "19861329"));
        dialogs_.answers = {true};
        QString stepped;
        dialogs_.onModal = [&stepped](QDialog& viewer) {
            viewer.findChild<QAction*>(u"mNewOnly"_s)->trigger();
            stepped = QString::number(static_cast<ResultsViewer&>(viewer).current());
            if (viewer.findChild<QLabel*>(u"lnew"_s)->isVisible()) stepped += u" new"_s;
            viewer.findChild<QAction*>(u"mLast"_s)->trigger();
            stepped += u' ' + QString::number(static_cast<ResultsViewer&>(viewer).current());
        };
        dialogs_.files.push_back(Q(load));
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(find<QProgressBar>("overall")->value() + find<QProgressBar>("progress")->value(),
                 0);
        QCOMPARE(counters(), u"0 0 0 0 0 0 0 0 0 0 0 0"_s);
        QCOMPARE(runControls(), u"CANCEL Command1 mnu_file"_s);
        QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);
        QCOMPARE(find<QLabel>("sinceLastRun")->text(),
                 u"Since the last run: 1 fixed, 2 new, 2 unchanged"_s);
        QCOMPARE(stepped, u"2 new 3"_s);
    }

    void endsARunEarly_data() {
        QTest::addColumn<QString>("how");  // CANCEL, Ctrl+Q or closing the window
        QTest::addColumn<bool>("answer");
        QTest::newRow("CANCEL") << u"CANCEL"_s << false;
        QTest::newRow("Ctrl+Q, quit") << u"Ctrl+Q"_s << true;
        QTest::newRow("closed, not quit") << u"closed"_s << false;
    }

    void endsARunEarly() {
        QFETCH(QString, how);
        QFETCH(bool, answer);
        const bool quit = how != u"CANCEL"_s;
        makeWindow();
        // The sample's records over and over: long enough to be interrupted in its main pass.
        const std::string sample = testing::ReadBytes(kSampleData / "sample.dat");
        std::string big = sample;
        for (int copy = 1; copy < 2000; ++copy) big.append(sample, sample.find("\r\n") + 2);
        dialogs_.answers = {answer};
        QString running;
        auto* controller = window_->findChild<RunController*>();
        QMetaObject::Connection onFirstLine =
            connect(controller, &RunController::lineChanged, this, [&](qint64, const QString&) {
                running = runControls();
                QObject::disconnect(onFirstLine);
                if (how == u"Ctrl+Q"_s) press(Qt::CTRL | Qt::Key_Q);
                if (how == u"closed"_s) window_->close();
                if (!quit) QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
            });
        window_->validateFile(Q(write("big.dat", big)));
        QTRY_VERIFY_WITH_TIMEOUT(!controller->running(), kRunTimeout);

        QCOMPARE(running, u"CANCEL Command1 mnu_file Text1"_s);
        const QString offer =
            u"offer: Talveron | A validation is running. Cancel it and quit? | Quit"_s;
        QCOMPARE(dialogs_.logOf(u"offer"_s), quit ? std::vector{offer} : std::vector<QString>{});
        // A cancelled run completes its results file and writes no report; it asks its closing
        // question unless the program quits.
        const bool cancelled = !quit || answer;
        const std::string results = testing::ReadBytes(root_ / "big.err");
        const std::size_t trailer = results.rfind("\r\n[ERROR]\r\nCount=");
        QVERIFY(trailer != std::string::npos && results.ends_with("\r\n") &&
                results.find_first_not_of("0123456789", trailer + 17) == results.size() - 2);
        QCOMPARE(fs::exists(root_ / "big.dst"), !cancelled);
        const qint64 processed = counters().section(u' ', 9, 9).remove(u',').toLongLong();
        QCOMPARE(processed < std::count(big.begin(), big.end(), '\n'), cancelled);
        QCOMPARE(window_->isVisible(), !(quit && answer));
        QCOMPARE(dialogs_.logOf(u"ask"_s).size(), std::size_t{!(quit && answer)});
    }

    void startsTheFileItIsGiven_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("name");
        QTest::newRow("command line") << u"command line"_s << u"load.dat"_s;
        QTest::newRow("dropped") << u"drop"_s << u"LOAD.DAT"_s;
        QTest::newRow("dropped, not a load file") << u"drop"_s << u"load.txt"_s;
        QTest::newRow("recent file") << u"recent"_s << u"load.dat"_s;
    }

    void startsTheFileItIsGiven() {
        QFETCH(QString, how);
        QFETCH(QString, name);
        const bool started = name.endsWith(u".dat"_s, Qt::CaseInsensitive);
        const fs::path load = copy(kFindings, name.toStdString());
        const fs::path settings = root_ / "config" / kDesktopSettingsFileName;
        RecentFiles(settings).add(root_ / "other.dat");
        if (how == u"recent"_s) RecentFiles(settings).add(load);
        makeWindow();
        if (how == u"command line"_s) window_->validateFile(Q(load));
        if (how == u"recent"_s) find<QAction>("mnu_recent_1")->trigger();
        if (how == u"drop"_s) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(Q(load))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(window_.get(), &enter);
            QCOMPARE(enter.isAccepted(), started);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(window_.get(), &drop);
        }
        QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);

        QVERIFY(dialogs_.choices.empty());  // no file dialog
        QCOMPARE(counters().endsWith(u"4 1 2"_s), started);
        // The file is first among the recent files, kept in the program's own settings.
        const fs::path first = started ? load : root_ / "other.dat";
        QCOMPARE(find<QAction>("mnu_recent_1")->toolTip(), Q(first));
        QCOMPARE(RecentFiles(settings).files().front(), first);
        QCOMPARE(testing::ReadBytes(root_ / "config" / "TALVERON.CFG"),
                 testing::ReadBytes(kSampleData / "TALVERON.CFG"));
    }

    void refusesAFileAnotherRunIsValidating() {
        const fs::path load = copy(kFindings, "load.dat");
        testing::WriteBytes(root_ / "load.err", "old results");
        const int held = ::open(load.c_str(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
        makeWindow();
        window_->validateFile(Q(load));
        QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.log.empty(), kRunTimeout);
        ::close(held);
        QVERIFY2(dialogs_.log.back().contains(u"another run is validating"_s),
                 qPrintable(dialogs_.log.back()));
        QCOMPARE(testing::ReadBytes(root_ / "load.err"), std::string("old results"));
        QVERIFY(!fs::exists(root_ / "load.dst"));
    }

    void offersToInstallAMissingConfiguration_data() {
        QTest::addColumn<QString>("content");  // empty: no configuration file
        QTest::addColumn<bool>("install");
        QTest::addColumn<bool>("blocked");  // a dangling link stands where it would go
        QTest::addColumn<QString>("last");  // what the operator saw last
        const QString offer =
            u"offer: TALVERON.CFG | Configuration file invalid or not found! | "_s
            u"Install Default Configuration"_s;
        QTest::newRow("installed") << QString() << true << false << offer;
        QTest::newRow("not installed") << QString() << false << false << offer;
        QTest::newRow("installing fails")
            << QString() << true << true
            << u"message: TALVERON.CFG | The default configuration was not installed."_s;
        QTest::newRow("unusable")
            << u"[H]\r\n1=A\r\n"_s << false << false
            << u"offer: TALVERON.CFG | Configuration file invalid or not found! | "_s
               u"Check Configuration"_s;
    }

    void offersToInstallAMissingConfiguration() {
        QFETCH(QString, content);
        QFETCH(bool, install);
        QFETCH(bool, blocked);
        QFETCH(QString, last);
        const fs::path configuration = root_ / "config" / "TALVERON.CFG";
        fs::remove(configuration);
        if (!content.isEmpty()) write("config/TALVERON.CFG", content.toStdString());
        if (blocked) fs::create_symlink(root_ / "nowhere.cfg", configuration);
        dialogs_.answers = {install};
        makeWindow();

        QCOMPARE(dialogs_.log.back(), last);
        QCOMPARE(dialogs_.log.size(), std::size_t{blocked ? 2u : 1u});
        QVERIFY(dialogs_.messages[0].detail.find(configuration.string()) != std::string::npos);
        const bool installed = install && !blocked && content.isEmpty();
        QCOMPARE(runControls(), installed ? kIdle : u"VALIDATE mnu_file mnu_options banner"_s);
        QCOMPARE(testing::ReadBytes(configuration) == DefaultConfigurationText(), installed);
    }

    void checksTheConfigurationItIsOffered() {
        write("config/TALVERON.CFG", "[H]\n1=A\n[A]\nLen=0\n");
        dialogs_.answers = {true};
        makeWindow();
        const auto* problems = window_->findChild<QTreeWidget*>(u"problems"_s);
        QVERIFY(problems != nullptr && problems->isVisible());
        QStringList rows;
        for (int i = 0; i < problems->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = problems->topLevelItem(i);
            rows << row->text(0) + u'|' + row->text(1) + u'|' + row->text(2);
        }
        QCOMPARE(rows, (QStringList{u"|error|there is no section [C], the comment record layout"_s,
                                    u"|error|there is no section [D], the dose record layout"_s,
                                    u"|error|there is no section [I], the intake record layout"_s,
                                    u"4|error|Len=0 of [A] is not a positive width"_s}));
        // Help > Check Configuration reads the file again once it is mended.
        copy(kSampleData / "TALVERON.CFG", "config/TALVERON.CFG");
        find<QAction>("mnu_help_check_config")->trigger();
        QCOMPARE(problems->topLevelItemCount(), 0);
        QVERIFY(
            window_->findChild<QLabel*>(u"summary"_s)->text().endsWith(u"no problems found."_s));
    }

    void showsReportsAndHelpInItsOwnWindows() {
        write("help/howto.md", "# Operator's How-To\n\n| Menu | Items |\n|---|---|\n");
        write("help/sysadm.md", "# Administrative\n");
        const std::string report = "  Ranges      Persons\r\n  0.100         12\r\n";
        write("RUN.DsT", report);
        opener_.present = false;
        makeWindow();
        dialogs_.files = {Q(root_ / "RUN.DsT"), Q(root_ / "run.err"), Q(root_ / "gone.dst")};
        for (int i = 0; i < 3; ++i) press(Qt::CTRL | Qt::Key_R);
        QCOMPARE(dialogs_.choices[0].title, u"Select a Error/Report File to View"_s);
        // A report in a window of its own, in the system's fixed-width font; anything else in
        // the viewer; a report that cannot be read is reported. Every font of the tests is
        // fixed-width, so it is the family asked for that tells, and it differs from the one the
        // window would have by default.
        const auto* text = window_->findChild<QDialog*>(u"report"_s)->findChild<QTextBrowser*>();
        const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        QVERIFY(text->isVisible() && fixed != QApplication::font(text).family());
        QCOMPARE(text->font().family(), fixed);
        QCOMPARE(text->toPlainText(), QString::fromStdString(report).remove(u'\r'));
        QCOMPARE(dialogs_.logOf(u"modal"_s), std::vector{u"modal: e"_s});
        QVERIFY(dialogs_.log.back().startsWith(u"message: Error Viewing Report | Cannot open \""_s +
                                               Q(root_ / "gone.dst")));

        press(Qt::Key_F1);
        const auto* guide = window_->findChild<QDialog*>(u"howto.md"_s);
        QVERIFY(guide != nullptr && guide->isVisible());
        QCOMPARE(guide->windowTitle(), u"Operator's How-To"_s);
        QVERIFY(guide->findChild<QTextBrowser*>()->toPlainText().startsWith(u"Operator's"_s));
        // "Open in editor" is there only with an opener, which it hands the file to.
        QVERIFY(guide->findChild<QPushButton*>(u"openInEditor"_s)->isHidden());
        opener_.present = true;
        opener_.failure = "no editor";
        find<QAction>("mnu_help_reference")->trigger();
        QCOMPARE(dialogs_.log.back(),
                 u"message: Talveron | The help document \"genref.md\" could not be shown."_s);
        find<QAction>("mnu_help_administrative")->trigger();
        QTest::mouseClick(window_->findChild<QDialog*>(u"sysadm.md"_s)
                              ->findChild<QPushButton*>(u"openInEditor"_s),
                          Qt::LeftButton);
        QCOMPARE(opener_.textFiles, std::vector{root_ / "help" / "sysadm.md"});
        QCOMPARE(dialogs_.log.back(), u"message: Administrative | no editor"_s);
    }

    void growsAndQuitsByKeyboard() {
        makeWindow();
        press(Qt::CTRL | Qt::Key_O);
        QCOMPARE(dialogs_.log, std::vector{u"choose: Select a file to Load"_s});
        window_->validateFile(Q(write(std::string(120, 'f') + ".dat", "")));
        QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);
        // The path, cut short in the middle at first, shows more of itself.
        const QString shown = find<QLabel>("loadfile")->text();
        window_->showMaximized();
        QTRY_VERIFY(find<QLabel>("loadfile")->text().size() > shown.size());
        press(Qt::CTRL | Qt::Key_Q);
        QVERIFY(!window_->isVisible());
    }

    void readsTheOptionsAgainAfterTheDialog() {
        makeWindow();
        // Cancel writes nothing, but what the file says by then counts.
        dialogs_.onModal = [this](QDialog& dialog) {
            QVERIFY(
                WriteProfileValue(root_ / "config" / "TALVERON.CFG", "OutputOptions", "GDR", "0")
                    .ok());
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"cancelb"_s), Qt::LeftButton);
        };
        find<QAction>("mnu_auto_cancel")->trigger();
        // What was kept of the file's last run is damaged: it counts as none, and is kept anew.
        const fs::path load = copy(kSampleData / "sample.dat", "sample.dat");
        QVERIFY(FindingHistory(root_ / "state").save(load, std::vector<IdentityDigest>(3)).ok());
        const fs::path kept = fs::directory_iterator(root_ / "state")->path();
        fs::resize_file(kept, fs::file_size(kept) - 1);
        run(load);
        QCOMPARE(dialogs_.log.back(), u"message: MORVA Validation Complete | Done!"_s);
        QCOMPARE(find<QLabel>("sinceLastRun")->text(), QString());
        QCOMPARE(FindingHistory(root_ / "state").load(load), std::vector<IdentityDigest>());
    }

private:
    void makeWindow() {
        // Refreshed often, so that a run of a few megabytes is seen while it goes.
        window_ = std::make_unique<MainWindow>(
            MainWindowServices{dialogs_, opener_, clock_, root_ / "config", root_ / "help",
                               root_ / "state", std::chrono::milliseconds(10)});
        window_->show();
    }
    fs::path write(const std::string& name, const std::string& bytes) const {
        const fs::path target = root_ / name;
        fs::create_directories(target.parent_path());
        testing::WriteBytes(target, bytes);
        return target;
    }
    fs::path copy(const fs::path& source, const std::string& name) const {
        return write(name, testing::ReadBytes(source));
    }
    void run(const fs::path& loadFile) {
        dialogs_.files.push_back(Q(loadFile));
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Command2")->isEnabled(), kRunTimeout);
    }
    void press(QKeyCombination key) {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), key.key(), key.keyboardModifiers());
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
            texts << find<QLabel>(qPrintable(u"Panel3D2_%1"_s.arg(i)))->text();
        return texts.join(u' ');
    }
    /// The caption of VALIDATE, then the names of the controls a run switches that are on.
    QString runControls() const {
        QStringList on{find<QPushButton>("Command1")->text()};
        for (const char* name : {"Command1", "Command2"}) {
            if (find<QPushButton>(name)->isEnabled()) on << QString::fromLatin1(name);
        }
        for (const char* name : {"mnu_validate", "mnu_view_results"}) {
            if (find<QAction>(name)->isEnabled()) on << QString::fromLatin1(name);
        }
        for (const char* name : {"mnu_file", "mnu_options"}) {
            if (find<QMenu>(name)->menuAction()->isEnabled()) on << QString::fromLatin1(name);
        }
        if (find<QLabel>("banner")->isVisible()) on << u"banner"_s;
        if (find<QLineEdit>("Text1")->isVisible()) on << u"Text1"_s;
        return on.join(u' ');
    }

    std::unique_ptr<testing::TemporaryDirectory> temp_;
    fs::path root_;
    testing::ScriptedDialogs dialogs_;
    testing::RecordingOpener opener_;
    SystemClock clock_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace talveron

QTEST_MAIN(talveron::MainWindowTest)
#include "main_window_test.moc"
