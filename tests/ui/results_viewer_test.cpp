#include "ui/results_viewer.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "config/profile_file.h"
#include "ui/scripted_dialogs.h"

namespace talveron {

namespace fs = std::filesystem;

class ResultsViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsTheFirstFindingMarked();
    void stepsWithButtonsAndMenus();
    void showsALineOneFindingAgainstTheHeader();
    void marksARecordWithLeadingBlanksWhereItsFieldsAre();
    void showsARecordTypeWithoutLayoutWithoutFields();
    void keepsNextEnabledWithoutFindings();
    void printsTheResultsFile();
    void opensTheReportThatBelongsToTheResults();
    void reportsAReportThatCannotBeOpened();

private:
    void open(const std::string& results);
    template <typename Widget>
    Widget* find(const QString& name) const {
        Widget* widget = viewer_->findChild<Widget*>(name);
        if (widget == nullptr) qFatal("no widget named %s", qPrintable(name));
        return widget;
    }
    QString text(const char* label) const {
        return find<QLabel>(QString::fromLatin1(label))->text();
    }
    /// The cell showing line position `position`.
    QLabel* cellAt(int position) const;
    void verifyEnabling(bool first, bool last, bool previous, bool next) const;

    LayoutTable layouts_;
    std::unique_ptr<QTemporaryDir> temp_;
    fs::path results_;
    testing::ScriptedDialogs dialogs_;
    testing::RecordingOpener opener_;
    std::unique_ptr<ResultsViewer> viewer_;
};

namespace {

// The header and the first dose record of the sample load file, as the run copies them.
std::vector<std::string> SampleLines() {
    std::ifstream file(fs::path(TALVERON_UI_TEST_DATA_DIR) / "one-warning-two-errors.dat",
                       std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Section(int number, int line, int col, int character, const std::string& msg,
                    const std::string& data, const std::string& type, const std::string& level) {
    std::ostringstream section;
    section << "\r\n[" << number << "]\r\nLine=" << line << "\r\nCol=" << col
            << "\r\nChar=" << character << "\r\nMsg=" << msg << "\r\nData=" << data
            << "\r\nType=" << type << "\r\nLevel=" << level << "\r\n";
    return section.str();
}

// Four findings: a dose warning, a header finding filed under the wrong type, a record of an
// unknown type starting with blanks and a quote, and the last field of a dose record whose
// identifier is written with leading blanks.
std::string FourFindings() {
    const std::vector<std::string> lines = SampleLines();
    const std::string& header = lines.at(0);
    const std::string& dose = lines.at(1);
    std::string blankFirst = dose;
    blankFirst.replace(0, 3, "   ");
    return Section(1, 2, 16, 130, "Use NR or ND instead of 0.0 for doses", dose, "D", "WARNING") +
           Section(2, 1, 2, 22, "Bad period", header, "D", "ERROR") +
           Section(3, 5, 1, 3, " 'x' unknown", "  \"Q\" rest of it", "Z", "ERROR") +
           Section(4, 6, 22, 181, "Occupation", blankFirst, "D", "ERROR") +
           "[ERROR]\r\nCount=4\r\n";
}

QColor Text(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }
QColor Background(const QWidget& widget) { return widget.palette().color(QPalette::Window); }

}  // namespace

void ResultsViewerTest::initTestCase() {
    IniDocument configuration;
    QVERIFY(LoadIniFile(fs::path(TALVERON_SAMPLE_DATA_DIR) / "TALVERON.CFG", configuration).ok());
    layouts_ = LoadRecordLayouts(configuration);
    QVERIFY(layouts_.usable());
}

void ResultsViewerTest::init() {
    temp_ = std::make_unique<QTemporaryDir>();
    results_ = fs::path(temp_->path().toStdString()) / "run.err";
    dialogs_ = testing::ScriptedDialogs();
    opener_ = testing::RecordingOpener();
}

void ResultsViewerTest::cleanup() {
    viewer_.reset();
    temp_.reset();
}

void ResultsViewerTest::open(const std::string& results) {
    std::ofstream(results_, std::ios::binary) << results;
    viewer_ = std::make_unique<ResultsViewer>(results_, layouts_, dialogs_, opener_);
    viewer_->show();
}

QLabel* ResultsViewerTest::cellAt(int position) const {
    const int first = find<QScrollBar>(QStringLiteral("hs"))->value();
    return find<QLabel>(QStringLiteral("T_%1").arg(position - first));
}

void ResultsViewerTest::verifyEnabling(bool first, bool last, bool previous, bool next) const {
    QCOMPARE(find<QPushButton>(QStringLiteral("bfirst"))->isEnabled(), first);
    QCOMPARE(find<QPushButton>(QStringLiteral("blast"))->isEnabled(), last);
    QCOMPARE(find<QPushButton>(QStringLiteral("bprev"))->isEnabled(), previous);
    QCOMPARE(find<QPushButton>(QStringLiteral("bnext"))->isEnabled(), next);
}

void ResultsViewerTest::showsTheFirstFindingMarked() {
    open(FourFindings());
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Talveron Errors & Warnings"));
    QCOMPARE(text("level"), QStringLiteral("WARNING"));
    QCOMPARE(Text(*find<QLabel>(QStringLiteral("level"))), QColor(0, 0, 255));
    QCOMPARE(text("lcurrent"), QStringLiteral("1"));
    QCOMPARE(text("ltotal"), QStringLiteral("4"));
    QCOMPARE(text("lchar"), QStringLiteral("130"));
    QCOMPARE(text("lline"), QStringLiteral("2"));
    QCOMPARE(find<QPlainTextEdit>(QStringLiteral("et"))->toPlainText(),
             QStringLiteral("Use NR or ND instead of 0.0 for doses"));

    // DDE covers positions 130..136; the character is its first.
    const int cells = viewer_->cellCount();
    QVERIFY(cells >= 15);
    const int first = find<QScrollBar>(QStringLiteral("hs"))->value();
    QCOMPARE(first, static_cast<int>(std::nearbyint(130 - cells / 2.0)));
    QCOMPARE(text("charinfo"),
             QStringLiteral("Characters: %1 to %2").arg(first).arg(first + cells - 1));
    const QColor window = viewer_->palette().color(QPalette::Base);
    QCOMPARE(cellAt(130)->text(), QStringLiteral("0"));
    QCOMPARE(Background(*cellAt(130)), QColor(255, 255, 0));
    QCOMPARE(Text(*cellAt(130)), QColor(255, 0, 0));
    for (int position = 131; position <= 136; ++position) {
        QCOMPARE(Background(*cellAt(position)), QColor(255, 0, 0));
        QCOMPARE(Text(*cellAt(position)), window);
    }
    for (const int position : {129, 137}) {
        QCOMPARE(Background(*cellAt(position)), window);
        QCOMPARE(Text(*cellAt(position)), QColor(128, 128, 128));
    }

    auto* grid = find<QTableWidget>(QStringLiteral("cv"));
    QCOMPARE(grid->rowCount(), 22);
    QCOMPARE(grid->item(15, 0)->text(), QStringLiteral("DDE"));
    QCOMPARE(grid->item(15, 1)->text(), QStringLiteral("0.000"));
    QCOMPARE(grid->item(6, 1)->text(), QStringLiteral("WHITFIELD"));
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0].row(), 15);
    QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(15, 0))));
    verifyEnabling(false, true, false, true);
}

void ResultsViewerTest::stepsWithButtonsAndMenus() {
    open(FourFindings());
    find<QAction>(QStringLiteral("mPrev"))->trigger();  // Previous is disabled: nothing happens
    find<QAction>(QStringLiteral("mFirst"))->trigger();
    QCOMPARE(viewer_->current(), 1);

    QTest::mouseClick(find<QPushButton>(QStringLiteral("bnext")), Qt::LeftButton);
    QCOMPARE(text("lcurrent"), QStringLiteral("2"));
    verifyEnabling(true, true, true, true);
    find<QAction>(QStringLiteral("mNext"))->trigger();
    QCOMPARE(viewer_->current(), 3);
    find<QAction>(QStringLiteral("mLast"))->trigger();
    QCOMPARE(viewer_->current(), 4);
    verifyEnabling(true, false, true, false);
    find<QAction>(QStringLiteral("mNext"))->trigger();
    find<QAction>(QStringLiteral("mLast"))->trigger();
    QCOMPARE(viewer_->current(), 4);

    QTest::mouseClick(find<QPushButton>(QStringLiteral("bprev")), Qt::LeftButton);
    QCOMPARE(viewer_->current(), 3);
    QTest::mouseClick(find<QPushButton>(QStringLiteral("bfirst")), Qt::LeftButton);
    QCOMPARE(viewer_->current(), 1);
    QCOMPARE(text("lline"), QStringLiteral("2"));

    find<QAction>(QStringLiteral("mClose"))->trigger();
    QVERIFY(!viewer_->isVisible());
}

void ResultsViewerTest::showsALineOneFindingAgainstTheHeader() {
    open(FourFindings());
    QTest::mouseClick(find<QPushButton>(QStringLiteral("bnext")), Qt::LeftButton);
    QCOMPARE(text("level"), QStringLiteral("ERROR"));
    QCOMPARE(Text(*find<QLabel>(QStringLiteral("level"))), QColor(255, 0, 0));
    QCOMPARE(Text(*find<QPlainTextEdit>(QStringLiteral("et"))), QColor(255, 0, 0));
    auto* grid = find<QTableWidget>(QStringLiteral("cv"));
    QCOMPARE(grid->rowCount(), 9);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("License_Number"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("20240101 - 20241231"));
    QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), 1);
    // Report_Period covers 22..40 and holds the character: both marks show.
    QCOMPARE(Background(*cellAt(22)), QColor(255, 255, 0));
    QCOMPARE(Background(*cellAt(23)), QColor(255, 0, 0));
}

void ResultsViewerTest::marksARecordWithLeadingBlanksWhereItsFieldsAre() {
    open(FourFindings());
    find<QAction>(QStringLiteral("mLast"))->trigger();
    // The record is shown as written: position 181 is where Occupation starts.
    QCOMPARE(cellAt(181)->text(), QStringLiteral("R"));
    QCOMPARE(Background(*cellAt(181)), QColor(255, 255, 0));
    QCOMPARE(cellAt(182)->text(), QStringLiteral("A"));
    QCOMPARE(Background(*cellAt(182)), QColor(255, 0, 0));
    auto* grid = find<QTableWidget>(QStringLiteral("cv"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("302948"));
    QCOMPARE(grid->item(21, 1)->text(), QStringLiteral("RADIATION THERAPIST"));
    // The last field is selected and the grid shows its last page.
    QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), 21);
    QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    // The strip scrolls up to the end of the 200-character record and centres the field.
    auto* scroll = find<QScrollBar>(QStringLiteral("hs"));
    QCOMPARE(scroll->maximum(), 200 - viewer_->cellCount() + 1);
    QCOMPARE(scroll->value(), static_cast<int>(std::nearbyint(181 - viewer_->cellCount() / 2.0)));
}

void ResultsViewerTest::showsARecordTypeWithoutLayoutWithoutFields() {
    open(FourFindings());
    find<QAction>(QStringLiteral("mNext"))->trigger();
    find<QAction>(QStringLiteral("mNext"))->trigger();
    QCOMPARE(viewer_->current(), 3);
    QCOMPARE(find<QPlainTextEdit>(QStringLiteral("et"))->toPlainText(),
             QStringLiteral(" 'x' unknown"));
    QCOMPARE(find<QTableWidget>(QStringLiteral("cv"))->rowCount(), 0);
    QCOMPARE(find<QScrollBar>(QStringLiteral("hs"))->value(), 1);
    QCOMPARE(cellAt(1)->text(), QStringLiteral(" "));
    QCOMPARE(cellAt(3)->text(), QStringLiteral("\""));
    QCOMPARE(Background(*cellAt(3)), QColor(255, 255, 0));
    const QColor window = viewer_->palette().color(QPalette::Base);
    for (const int position : {1, 2, 4, 5}) QCOMPARE(Background(*cellAt(position)), window);
    // Past the end of the record the cells are empty.
    QCOMPARE(cellAt(viewer_->cellCount())->text(), QString());
}

void ResultsViewerTest::keepsNextEnabledWithoutFindings() {
    open("[ERROR]\r\nCount=0\r\n");
    QCOMPARE(text("ltotal"), QStringLiteral("0"));
    QCOMPARE(text("level"), QStringLiteral("0"));
    QCOMPARE(Text(*find<QLabel>(QStringLiteral("level"))), QColor(0, 0, 255));
    QCOMPARE(find<QPlainTextEdit>(QStringLiteral("et"))->toPlainText(), QStringLiteral("0"));
    QCOMPARE(find<QTableWidget>(QStringLiteral("cv"))->rowCount(), 0);
    verifyEnabling(false, true, false, true);
}

void ResultsViewerTest::printsTheResultsFile() {
    open(FourFindings());
    const QString pdf = temp_->filePath(QStringLiteral("printed.pdf"));
    find<QAction>(QStringLiteral("mPrint"))->trigger();  // print dialog cancelled
    QVERIFY(!QFile::exists(pdf));
    dialogs_.printFile = pdf;
    find<QAction>(QStringLiteral("mPrint"))->trigger();
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(viewer_->isEnabled());
}

void ResultsViewerTest::opensTheReportThatBelongsToTheResults() {
    open(FourFindings());
    find<QAction>(QStringLiteral("mReport"))->trigger();
    QCOMPARE(opener_.textFiles, (std::vector<fs::path>{results_.parent_path() / "run.dst"}));
    QVERIFY(dialogs_.log.empty());
}

void ResultsViewerTest::reportsAReportThatCannotBeOpened() {
    open(FourFindings());
    opener_.failure = "Cannot open it";
    find<QAction>(QStringLiteral("mReport"))->trigger();
    QCOMPARE(
        dialogs_.log,
        (std::vector<QString>{QStringLiteral("message: Error Viewing Report | Cannot open it")}));
    QVERIFY(viewer_->isVisible());
}

}  // namespace talveron

QTEST_MAIN(talveron::ResultsViewerTest)
#include "results_viewer_test.moc"
