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
using namespace Qt::StringLiterals;

namespace {

std::string Section(int number, int line, int col, int character, const std::string& msg,
                    const std::string& data, const std::string& type, const std::string& level) {
    std::ostringstream section;
    section << "\r\n[" << number << "]\r\nLine=" << line << "\r\nCol=" << col
            << "\r\nChar=" << character << "\r\nMsg=" << msg << "\r\nData=" << data
            << "\r\nType=" << type << "\r\nLevel=" << level << "\r\n";
    return section.str();
}

// Four findings on the header and first dose record of the sample load file: a dose warning, a
// header finding filed under the wrong type, a record of an unknown type starting with blanks and
// a quote, and the last field of a dose record whose identifier is written with leading blanks.
std::string FourFindings() {
    std::ifstream file(fs::path(TALVERON_UI_TEST_DATA_DIR) / "one-warning-two-errors.dat",
                       std::ios::binary);
    std::string header;
    std::string dose;
    std::getline(file, header);
    std::getline(file, dose);
    header.pop_back();  // the CR
    dose.pop_back();
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

    void showsTheFirstFindingMarked() {
        open(FourFindings());
        QCOMPARE(viewer_->windowTitle(), u"Talveron Errors & Warnings"_s);
        QCOMPARE(findingRow(), u"WARNING 1 4 130 2"_s);
        QCOMPARE(Text(*find(u"level"_s)), QColor(0, 0, 255));
        QCOMPARE(message(), u"Use NR or ND instead of 0.0 for doses"_s);
        QCOMPARE(enabled(), u"blast bnext"_s);

        // DDE covers positions 130..136; the character is its first.
        const int cells = viewer_->cellCount();
        QVERIFY(cells >= 15);
        const int first = find<QScrollBar>(u"hs"_s)->value();
        QCOMPARE(find(u"charinfo"_s)->text(),
                 u"Characters: %1 to %2"_s.arg(first).arg(first + cells - 1));
        QCOMPARE(cellAt(130)->text(), u"0"_s);
        QCOMPARE(marks(129, 137), u".CFFFFFF."_s);

        QCOMPARE(grid()->rowCount(), 22);
        QCOMPARE(grid()->item(15, 0)->text(), u"DDE"_s);
        QCOMPARE(grid()->item(15, 1)->text(), u"0.000"_s);
        QCOMPARE(grid()->item(6, 1)->text(), u"WHITFIELD"_s);
        QCOMPARE(selectedRow(), 15);
        QVERIFY(rowInView(15));
    }

    void stepsWithButtonsAndMenus() {
        open(FourFindings());
        trigger(u"mPrev"_s);  // Previous is disabled: nothing happens
        trigger(u"mFirst"_s);
        QCOMPARE(viewer_->current(), 1);
        press(u"bnext"_s);
        QCOMPARE(find(u"lcurrent"_s)->text(), u"2"_s);
        QCOMPARE(enabled(), u"bfirst blast bprev bnext"_s);
        trigger(u"mNext"_s);
        QCOMPARE(viewer_->current(), 3);
        trigger(u"mLast"_s);
        QCOMPARE(viewer_->current(), 4);
        QCOMPARE(enabled(), u"bfirst bprev"_s);
        trigger(u"mNext"_s);
        trigger(u"mLast"_s);
        QCOMPARE(viewer_->current(), 4);
        press(u"bprev"_s);
        QCOMPARE(viewer_->current(), 3);
        press(u"bfirst"_s);
        QCOMPARE(findingRow(), u"WARNING 1 4 130 2"_s);
        trigger(u"mClose"_s);
        QVERIFY(!viewer_->isVisible());
    }

    void showsALineOneFindingAgainstTheHeader() {
        open(FourFindings());
        press(u"bnext"_s);
        QCOMPARE(findingRow(), u"ERROR 2 4 22 1"_s);
        QCOMPARE(Text(*find(u"level"_s)), QColor(255, 0, 0));
        QCOMPARE(Text(*find<QPlainTextEdit>(u"et"_s)), QColor(255, 0, 0));
        QCOMPARE(grid()->rowCount(), 9);
        QCOMPARE(grid()->item(0, 0)->text(), u"License_Number"_s);
        QCOMPARE(grid()->item(1, 1)->text(), u"20240101 - 20241231"_s);
        QCOMPARE(selectedRow(), 1);
        // Report_Period covers 22..40 and holds the character: both marks show.
        QCOMPARE(marks(22, 23), u"CF"_s);
    }

    void marksARecordWithLeadingBlanksWhereItsFieldsAre() {
        open(FourFindings());
        trigger(u"mLast"_s);
        // The record is shown as written: position 181 is where Occupation starts.
        QCOMPARE(cellAt(181)->text() + cellAt(182)->text(), u"RA"_s);
        QCOMPARE(marks(181, 182), u"CF"_s);
        QCOMPARE(grid()->item(0, 1)->text(), u"302948"_s);
        QCOMPARE(grid()->item(21, 1)->text(), u"RADIATION THERAPIST"_s);
        // The last field is selected and wholly in view.
        QCOMPARE(selectedRow(), 21);
        QVERIFY(rowInView(21));
        // The strip scrolls up to the end of the 200-character record and centres the field.
        auto* scroll = find<QScrollBar>(u"hs"_s);
        QCOMPARE(scroll->maximum(), 200 - viewer_->cellCount() + 1);
        QCOMPARE(scroll->value(),
                 static_cast<int>(std::nearbyint(181 - viewer_->cellCount() / 2.0)));
    }

    void showsARecordTypeWithoutLayoutWithoutFields() {
        open(FourFindings());
        trigger(u"mNext"_s);
        trigger(u"mNext"_s);
        QCOMPARE(message(), u" 'x' unknown"_s);
        QCOMPARE(grid()->rowCount(), 0);
        QCOMPARE(find<QScrollBar>(u"hs"_s)->value(), 1);
        QCOMPARE(cellAt(1)->text() + cellAt(3)->text(), u" \""_s);
        QCOMPARE(marks(1, 5), u"..C.."_s);
        // Past the end of the record the cells are empty.
        QCOMPARE(cellAt(viewer_->cellCount())->text(), QString());
    }

    void keepsNextEnabledWithoutFindings() {
        open("[ERROR]\r\nCount=0\r\n");
        QCOMPARE(findingRow(), u"0 1 0 0 0"_s);
        QCOMPARE(Text(*find(u"level"_s)), QColor(0, 0, 255));
        QCOMPARE(message(), u"0"_s);
        QCOMPARE(grid()->rowCount(), 0);
        QCOMPARE(enabled(), u"blast bnext"_s);
    }

    void printsTheResultsFile() {
        open(FourFindings());
        const QString pdf = temp_->filePath(u"printed.pdf"_s);
        trigger(u"mPrint"_s);  // print dialog cancelled
        QVERIFY(!QFile::exists(pdf));
        dialogs_.printFile = pdf;
        trigger(u"mPrint"_s);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(viewer_->isEnabled());
    }

    void opensTheReportThatBelongsToTheResults() {
        open(FourFindings());
        trigger(u"mReport"_s);
        QCOMPARE(opener_.textFiles, (std::vector<fs::path>{results_.parent_path() / "run.dst"}));
        QVERIFY(dialogs_.log.empty());
        opener_.failure = "Cannot open it";
        trigger(u"mReport"_s);
        QCOMPARE(dialogs_.log,
                 (std::vector<QString>{u"message: Error Viewing Report | Cannot open it"_s}));
        QVERIFY(viewer_->isVisible());
    }

private:
    void open(const std::string& results) {
        std::ofstream(results_, std::ios::binary) << results;
        viewer_ = std::make_unique<ResultsViewer>(results_, layouts_, dialogs_, opener_);
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
    /// The finding row: level, current number, total, character and line.
    QString findingRow() const {
        QStringList texts;
        for (const QString& name : {u"level"_s, u"lcurrent"_s, u"ltotal"_s, u"lchar"_s, u"lline"_s})
            texts << find(name)->text();
        return texts.join(u' ');
    }

    QString message() const { return find<QPlainTextEdit>(u"et"_s)->toPlainText(); }
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
    /// Per line position: C for the character's mark, F for the field's, . for none.
    QString marks(int from, int to) const {
        const QColor window = viewer_->palette().color(QPalette::Base);
        QString marks;
        for (int position = from; position <= to; ++position) {
            const std::pair colours{Text(*cellAt(position)), Background(*cellAt(position))};
            if (colours == std::pair{QColor(Qt::red), QColor(Qt::yellow)}) {
                marks += u'C';
            } else if (colours == std::pair{window, QColor(Qt::red)}) {
                marks += u'F';
            } else {
                marks += colours == std::pair{QColor(128, 128, 128), window} ? u'.' : u'?';
            }
        }
        return marks;
    }
    QTableWidget* grid() const { return find<QTableWidget>(u"cv"_s); }
    /// The operator sees the whole row.
    bool rowInView(int row) const {
        return grid()->viewport()->rect().contains(grid()->visualItemRect(grid()->item(row, 1)));
    }
    int selectedRow() const {
        const QModelIndexList rows = grid()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
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
