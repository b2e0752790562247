#include "ui/results_viewer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <fstream>
#include <memory>

#include "config/profile_file.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {

const fs::path kData = TALVERON_UI_TEST_DATA_DIR;

// Four findings to step through. The first, shown as the window opens, is a dose warning on DDE
// (field 16, characters 130 to 136) of a 200-character record, which a page is too narrow for.
const fs::path kFourFindings = kData / "four-findings.err";

std::string Section(int number, int line, const std::string& message, const std::string& data) {
    return "\r\n[" + std::to_string(number) + "]\r\nLine=" + std::to_string(line) +
           "\r\nCol=16\r\nChar=130\r\nMsg=" + message + "\r\nData=" + data +
           "\r\nType=D\r\nLevel=ERROR\r\n";
}

// The record of the first finding: the first dose record of the sample load file.
std::string DoseRecord() {
    std::ifstream file(kData / "one-warning-two-errors.dat", std::ios::binary);
    std::string record;
    std::getline(file, record);
    std::getline(file, record);
    record.pop_back();  // the CR
    return record;
}

QColor Text(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }

}  // namespace

class ResultsViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        IniDocument configuration;
        QVERIFY(
            LoadIniFile(fs::path(TALVERON_SAMPLE_DATA_DIR) / "TALVERON.CFG", configuration).ok());
        layouts_ = LoadRecordLayouts(configuration);
        QVERIFY(layouts_.usable());
    }

    void init() {
        temp_ = std::make_unique<QTemporaryDir>();
        results_ = fs::path(temp_->path().toStdString()) / "run.err";
        dialogs_ = testing::ScriptedDialogs();
        opener_ = testing::RecordingOpener();
    }

    void cleanup() {
        viewer_.reset();
        temp_.reset();
    }

    void showsTheFirstFindingMarkedAndInViewAtAnyWidth() {
        open(kFourFindings);
        QCOMPARE(viewer_->windowTitle(), u"Talveron Errors & Warnings"_s);
        QCOMPARE(findingRow(), u"WARNING 1 4 130 2 Use NR or ND instead of 0.0 for doses"_s);
        QCOMPARE(Text(*find(u"level"_s)), QColor(0, 0, 255));
        QCOMPARE(enabled(), u"blast bnext"_s);
        QCOMPARE(grid()->rowCount(), 22);
        QCOMPARE(grid()->item(15, 0)->text() + u' ' + grid()->item(15, 1)->text(), u"DDE 0.000"_s);
        // The strip shows DDE marked and the grid its row below the one above it, or on its last
        // page; the name column shows whole names. A wide window shows more of the record.
        for (const int width : {0, 1366}) {
            if (width > 0) viewer_->resize(width, 700);
            QTRY_VERIFY(gridShowsSelected(15));
            QCOMPARE(marks(129, 137), u".CFFFFFF."_s);
            QCOMPARE(cellAt(130)->text(), u"0"_s);
            const int first = find<QScrollBar>(u"hs"_s)->value();
            QCOMPARE(find(u"charinfo"_s)->text(),
                     u"Characters: %1 to %2"_s.arg(first).arg(first + viewer_->cellCount() - 1));
            QVERIFY(grid()->columnWidth(0) >
                    QFontMetrics(grid()->font()).horizontalAdvance(u"Monitoring_Start"_s));
        }
        QVERIFY(viewer_->cellCount() > 60);  // against 22 at the designed width
    }

    void keepsNextEnabledWithoutFindings() {
        std::ofstream(results_, std::ios::binary) << "[ERROR]\r\nCount=0\r\n";
        open(results_);
        QCOMPARE(findingRow(), u"0 1 0 0 0 0"_s);
        QCOMPARE(enabled(), u"blast bnext"_s);
    }

    void stepsByKeysWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("reached");  // from finding 2 of 4
        QTest::newRow("Home in the grid") << u"cv"_s << QKeySequence(Qt::Key_Home) << 1;
        QTest::newRow("End on a button") << u"bclose"_s << QKeySequence(Qt::Key_End) << 4;
        QTest::newRow("PageUp in the grid") << u"cv"_s << QKeySequence(Qt::Key_PageUp) << 1;
        QTest::newRow("PageDown in the message") << u"et"_s << QKeySequence(Qt::Key_PageDown) << 3;
        QTest::newRow("Alt+Up") << u"bnext"_s << QKeySequence(Qt::ALT | Qt::Key_Up) << 1;
        QTest::newRow("Alt+Down") << u"cv"_s << QKeySequence(Qt::ALT | Qt::Key_Down) << 4;
        QTest::newRow("Alt+Left") << u"cv"_s << QKeySequence(Qt::ALT | Qt::Key_Left) << 1;
        QTest::newRow("Alt+Right") << u"hs"_s << QKeySequence(Qt::ALT | Qt::Key_Right) << 3;
        QTest::newRow("Tab leaves the grid") << u"cv"_s << QKeySequence(Qt::Key_Tab) << 2;
    }

    void stepsByKeysWhereverTheFocusIs() {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, key);
        QFETCH(int, reached);
        open(kFourFindings);
        QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
        trigger(u"mPrev"_s);  // disabled on the first finding: nothing happens
        press(u"bnext"_s);
        QCOMPARE(enabled(), u"bfirst blast bprev bnext"_s);
        find<QWidget>(focus)->setFocus();
        QTest::keySequence(QApplication::focusWidget(), key);
        QCOMPARE(viewer_->current(), reached);
        QCOMPARE(find<QWidget>(focus)->hasFocus(), key != QKeySequence(Qt::Key_Tab));
        trigger(u"mLast"_s);
        trigger(u"mNext"_s);  // disabled on the last finding
        QCOMPARE(viewer_->current(), 4);
        QCOMPARE(enabled(), u"bfirst bprev"_s);
    }

    // 40,000 findings: more than 16 bits count, and too big a file to index as the window opens.
    // Findings 2n-1 and 2n are on line n; every fifth has a message of its own.
    void reachesEveryFindingOfABigFile() {
        const std::string record = DoseRecord() + std::string(150, 'x');
        std::ofstream file(results_, std::ios::binary);
        for (int number = 1; number <= 40000; ++number) {
            file << Section(number, (number + 1) / 2, number % 5 == 0 ? "fifth" : "other", record);
        }
        file << "[ERROR]\r\nCount=32767\r\n";  // a Count that stopped at 16 bits
        file.close();
        open(results_, false);
        QTRY_VERIFY(viewer_->ready());
        trigger(u"mLast"_s);
        QCOMPARE(findingRow(), u"ERROR 40000 40000 130 20000 fifth"_s);
        QCOMPARE(Text(*find(u"level"_s)), QColor(255, 0, 0));

        dialogs_.onModal = [](QDialog& dialog) {
            auto* number = dialog.findChild<QLineEdit*>(u"number"_s);
            QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            number->setText(u"40001"_s);
            const bool refusedBeyondTheLast = !ok->isEnabled();
            number->setText(u"32769"_s);
            if (refusedBeyondTheLast) ok->click();
        };
        trigger(u"mGoTo"_s);
        QCOMPARE(findingRow(), u"ERROR 32769 40000 130 16385 other"_s);
        trigger(u"mNextMessage"_s);
        QTRY_COMPARE(viewer_->current(), 32771);
        trigger(u"mNextLine"_s);
        QTRY_COMPARE(viewer_->current(), 32772);
        trigger(u"mNextLine"_s);
        QTRY_COMPARE(dialogs_.log,
                     (std::vector<QString>{u"modal: goTo"_s,
                                           u"message: Talveron Errors & Warnings | "
                                           u"No later finding is on the same line."_s}));
        QCOMPARE(viewer_->current(), 32772);
    }

    // A FIFO that is never finished keeps the index waiting: the window goes on meanwhile, and
    // Cancel in the progress dialog closes it.
    void indexesOffTheWindowsThreadAndCancels() {
        QVERIFY(::mkfifo(results_.c_str(), 0600) == 0);
        viewer_ = std::make_unique<ResultsViewer>(results_, layouts_, dialogs_, opener_);
        viewer_->show();
        const int writer = ::open(results_.c_str(), O_WRONLY);
        QVERIFY(writer >= 0);
        const std::string start = Section(1, 2, "waiting", "x");
        QVERIFY(::write(writer, start.data(), start.size()) == static_cast<ssize_t>(start.size()));
        auto* progress = viewer_->findChild<QDialog*>(u"taskProgress"_s);
        QTRY_VERIFY(progress != nullptr && progress->isVisible());
        QVERIFY(!viewer_->ready());
        QTest::mouseClick(progress->findChild<QPushButton*>(u"taskCancel"_s), Qt::LeftButton);
        QVERIFY(!viewer_->isVisible());
        QCOMPARE(viewer_->result(), int{QDialog::Rejected});
        ::close(writer);  // the index's thread reads to the end and stops
    }

    void printsEveryCharacterOfLongRecordsAndShowsTheReport() {
        fs::copy_file(kFourFindings, results_);
        open(results_);
        const QString pdf = temp_->filePath(u"printed.pdf"_s);
        trigger(u"mPrint"_s);  // print dialog cancelled
        QVERIFY(!QFile::exists(pdf));
        dialogs_.printFile = pdf;
        trigger(u"mPrint"_s);
        QVERIFY(viewer_->isEnabled());
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-raw"_s, pdf, u"-"_s});
        QVERIFY2(pdftotext.waitForFinished(),
                 "pdftotext (poppler-utils) is needed: scripts/ensure-packages.sh installs it");
        // Every character but the blanks, in order; the record goes on below the page's width.
        QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
        printed.remove(QRegularExpression(u"\\s"_s));
        const QString record = QString::fromStdString(DoseRecord()).remove(u' ');
        QVERIFY2(printed.contains(u"Data:"_s + record), qPrintable(printed));
        QVERIFY(printed.contains(u"Level:WARNING[2]Line:1Col:2"_s));

        // The report beside the results file, in a report window of the viewer's own and not in
        // an editor; a report that is not there is said to be missing.
        const fs::path report = results_.parent_path() / "run.dst";
        trigger(u"mReport"_s);
        QCOMPARE(dialogs_.log.size(), std::size_t{1});
        QVERIFY(dialogs_.log.back().startsWith(u"message: Error Viewing Report | Cannot open \""_s +
                                               QString::fromStdString(report.string())));
        std::ofstream(report, std::ios::binary) << "  Ranges      Persons\r\n";
        trigger(u"mReport"_s);
        auto* window = viewer_->findChild<QDialog*>(u"report"_s, Qt::FindDirectChildrenOnly);
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->windowTitle(), u"Distribution Summary Report - run.dst"_s);
        QCOMPARE(window->findChild<QTextBrowser*>()->toPlainText(), u"  Ranges      Persons\n"_s);
        QVERIFY(opener_.textFiles.empty());
        QCOMPARE(dialogs_.log.size(), std::size_t{1});
        trigger(u"mClose"_s);
        QVERIFY(!viewer_->isVisible());
    }

private:
    void open(const fs::path& results, bool indexedAtOnce = true) {
        viewer_ = std::make_unique<ResultsViewer>(results, layouts_, dialogs_, opener_);
        QCOMPARE(viewer_->ready(), indexedAtOnce);
        viewer_->show();
    }
    template <typename Widget = QLabel>
    Widget* find(const QString& name) const {
        Widget* widget = viewer_->findChild<Widget*>(name);
        if (widget == nullptr) qFatal("no widget named %s", qPrintable(name));
        return widget;
    }
    void trigger(const QString& action) const { find<QAction>(action)->trigger(); }
    void press(const QString& button) const {
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }
    /// The finding row (level, current number, total, character, line) and the message.
    QString findingRow() const {
        QStringList texts;
        for (const QString& name : {u"level"_s, u"lcurrent"_s, u"ltotal"_s, u"lchar"_s, u"lline"_s})
            texts << find(name)->text();
        return texts.join(u' ') + u' ' + find<QPlainTextEdit>(u"et"_s)->toPlainText();
    }
    /// The stepping buttons that are enabled.
    QString enabled() const {
        QStringList names;
        for (const QString& name : {u"bfirst"_s, u"blast"_s, u"bprev"_s, u"bnext"_s}) {
            if (find<QPushButton>(name)->isEnabled()) names << name;
        }
        return names.join(u' ');
    }
    QLabel* cellAt(int position) const {
        return find(u"T_%1"_s.arg(position - find<QScrollBar>(u"hs"_s)->value()));
    }
    /// Per line position: C for the character's mark (red on yellow), F for the field's (on
    /// red), . for none (grey text), ? for anything else.
    QString marks(int from, int to) const {
        QString marks;
        for (int position = from; position <= to; ++position) {
            const QColor text = cellAt(position)->palette().color(QPalette::WindowText);
            const QColor back = cellAt(position)->palette().color(QPalette::Window);
            marks += back == Qt::yellow && text == Qt::red ? u'C'
                     : back == Qt::red                     ? u'F'
                     : text == QColor(128, 128, 128)       ? u'.'
                                                           : u'?';
        }
        return marks;
    }
    QTableWidget* grid() const { return find<QTableWidget>(u"cv"_s); }
    int selectedRow() const {
        const QModelIndexList rows = grid()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    /// `row` is selected and wholly in view, below the row above it or on the grid's last page.
    bool gridShowsSelected(int row) const {
        const auto inView = [this](int row) {
            return grid()->viewport()->rect().contains(
                grid()->visualItemRect(grid()->item(row, 1)));
        };
        return selectedRow() == row && inView(row) &&
               (grid()->rowAt(0) == row - 1 || inView(grid()->rowCount() - 1));
    }

    LayoutTable layouts_;
    std::unique_ptr<QTemporaryDir> temp_;
    fs::path results_;
    testing::ScriptedDialogs dialogs_;
    testing::RecordingOpener opener_;
    std::unique_ptr<ResultsViewer> viewer_;
};

}  // namespace talveron

QTEST_MAIN(talveron::ResultsViewerTest)
#include "results_viewer_test.moc"
