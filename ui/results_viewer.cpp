#include "ui/results_viewer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "config/number.h"
#include "config/profile_file.h"
#include "run/run_paths.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/external_opener.h"
#include "ui/operator_message.h"
#include "ui/results_printout.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

constexpr int kInnerWidth = style::Px(7320);
constexpr int kInnerHeight = style::Px(5970);

QFont CellFont() { return style::BoldFont(12); }

QLabel* NumberLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setMinimumWidth(style::Px(600));
    style::SetColours(*label, style::kWhite, style::kGrey);
    return label;
}

QLabel* FixedLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ResultsViewer::ResultsViewer(std::filesystem::path resultsPath, const LayoutTable& layouts,
                             Dialogs& dialogs, ExternalOpener& opener, QWidget* parent)
    : QDialog(parent),
      resultsPath_(std::move(resultsPath)),
      layouts_(layouts),
      dialogs_(dialogs),
      opener_(opener) {
    setObjectName(QStringLiteral("e"));
    setWindowTitle(QStringLiteral("Talveron Errors & Warnings"));
    style::ApplyWindowLook(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, style::Px(60), 0, style::Px(90));
    layout->setSpacing(style::Px(60));
    buildMenus();
    QWidget* strip = buildStrip();
    const int stripWidth = strip->width();

    charInfo_ = new QLabel(this);
    charInfo_->setObjectName(QStringLiteral("charinfo"));
    charInfo_->setAlignment(Qt::AlignCenter);
    charInfo_->setFont(style::BoldFont(9.75));
    layout->addWidget(charInfo_);
    layout->addWidget(strip, 0, Qt::AlignHCenter);

    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(QStringLiteral("hs"));
    scroll_->setFixedWidth(stripWidth);
    scroll_->setPageStep(cellCount());
    connect(scroll_, &QScrollBar::valueChanged, this, &ResultsViewer::showCharacters);
    layout->addWidget(scroll_, 0, Qt::AlignHCenter);

    grid_ = buildGrid(stripWidth);
    layout->addWidget(grid_, 1, Qt::AlignHCenter);

    layout->addWidget(buildFindingRow(), 0, Qt::AlignHCenter);

    message_ = new QPlainTextEdit(this);
    message_->setObjectName(QStringLiteral("et"));
    message_->setReadOnly(true);
    message_->setFont(style::BoldFont(9.75));
    message_->setFixedSize(stripWidth, 2 * cells_.front()->height());
    layout->addWidget(message_, 0, Qt::AlignHCenter);

    layout->addWidget(buildButtons(), 0, Qt::AlignHCenter);

    setFixedSize(kInnerWidth, kInnerHeight + layout->menuBar()->sizeHint().height());
    layout->activate();
    go(1);
}

void ResultsViewer::buildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    const auto add = [this](QMenu* menu, const QString& text, const QString& name, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
    };
    // The menu items stand for the buttons: they act only when their button is enabled.
    const auto asButton = [this](QPushButton* ResultsViewer::*button) {
        return [this, button] {
            if ((this->*button)->isEnabled()) (this->*button)->click();
        };
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mFile"));
    add(file, QStringLiteral("&Print"), QStringLiteral("mPrint"), [this] { print(); });
    add(file, QStringLiteral("&Close"), QStringLiteral("mClose"), asButton(&ResultsViewer::close_));
    add(file, QStringLiteral("&View Report"), QStringLiteral("mReport"), [this] { viewReport(); });
    QMenu* step = bar->addMenu(QStringLiteral("&Step"));
    step->setObjectName(QStringLiteral("mStep"));
    add(step, QStringLiteral("&First"), QStringLiteral("mFirst"), asButton(&ResultsViewer::first_));
    add(step, QStringLiteral("&Last"), QStringLiteral("mLast"), asButton(&ResultsViewer::last_));
    add(step, QStringLiteral("&Previous"), QStringLiteral("mPrev"),
        asButton(&ResultsViewer::previous_));
    add(step, QStringLiteral("&Next"), QStringLiteral("mNext"), asButton(&ResultsViewer::next_));
}

QTableWidget* ResultsViewer::buildGrid(int width) {
    auto* grid = new QTableWidget(0, 2, this);
    grid->setObjectName(QStringLiteral("cv"));
    grid->setFont(style::BoldFont(9.75));
    grid->setFixedWidth(width);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setColumnWidth(0, width / 3);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QWidget* ResultsViewer::buildStrip() {
    const QFontMetrics metrics(CellFont());
    // The cell of one "W", the widest letter, with room for its border.
    const int cellWidth = metrics.horizontalAdvance(QLatin1Char('W')) + 2;
    const int cellHeight = metrics.height() + 6;
    const int count = StripCellCount(kInnerWidth, cellWidth);
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("strip"));
    strip->setFixedSize(count * cellWidth, cellHeight);
    for (int i = 0; i < count; ++i) {
        auto* cell = new QLabel(strip);
        cell->setObjectName(QStringLiteral("T_%1").arg(i));
        cell->setFont(CellFont());
        cell->setAlignment(Qt::AlignCenter);
        cell->setFrameStyle(QFrame::Box | QFrame::Plain);
        cell->setGeometry(i * cellWidth, 0, cellWidth, cellHeight);
        cells_.push_back(cell);
    }
    return strip;
}

QWidget* ResultsViewer::buildFindingRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(style::Px(90));
    level_ = new QLabel(QStringLiteral("WARNING"), row);
    level_->setObjectName(QStringLiteral("level"));
    QFont levelFont = style::FixedFont(15);
    levelFont.setUnderline(true);
    level_->setFont(levelFont);
    level_->setMinimumWidth(QFontMetrics(levelFont).horizontalAdvance(QStringLiteral("WARNING")));
    currentLabel_ = NumberLabel(QStringLiteral("lcurrent"), row);
    auto* of = new QLabel(QStringLiteral("of"), row);
    of->setObjectName(QStringLiteral("lofc"));
    totalLabel_ = NumberLabel(QStringLiteral("ltotal"), row);
    characterLabel_ = NumberLabel(QStringLiteral("lchar"), row);
    lineLabel_ = NumberLabel(QStringLiteral("lline"), row);
    layout->addWidget(level_);
    layout->addWidget(currentLabel_);
    layout->addWidget(of);
    layout->addWidget(totalLabel_);
    layout->addWidget(FixedLabel(QStringLiteral("Character:"), QStringLiteral("lcharc"), row));
    layout->addWidget(characterLabel_);
    layout->addWidget(FixedLabel(QStringLiteral("Line:"), QStringLiteral("llinec"), row));
    layout->addWidget(lineLabel_);
    return row;
}

QWidget* ResultsViewer::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    first_ = Button(QStringLiteral("First  |<"), QStringLiteral("bfirst"), row);
    last_ = Button(QStringLiteral("Last  >|"), QStringLiteral("blast"), row);
    previous_ = Button(QStringLiteral("Previous <-"), QStringLiteral("bprev"), row);
    next_ = Button(QStringLiteral("Next ->"), QStringLiteral("bnext"), row);
    close_ = Button(QStringLiteral("Close"), QStringLiteral("bclose"), row);
    for (QPushButton* button : {first_, last_, previous_, next_, close_}) {
        layout->addWidget(button);
    }
    connect(first_, &QPushButton::clicked, this, [this] { go(1); });
    connect(last_, &QPushButton::clicked, this, [this] { go(finding_.total); });
    connect(previous_, &QPushButton::clicked, this, [this] { go(current_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { go(current_ + 1); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    return row;
}

void ResultsViewer::go(int number) {
    current_ = number;
    showFinding();
    showCharacters();
}

void ResultsViewer::showFinding() {
    IniDocument results;
    // A file that cannot be read shows the defaults, like a finding that is not in the file.
    if (!LoadIniFile(resultsPath_, results).ok()) results = IniDocument();
    finding_ = ReadFinding(results, current_);

    const QColor levelColour = finding_.errorLevel() ? style::kRed : style::kBlue;
    level_->setText(DisplayText(finding_.level));
    style::SetColours(*level_, levelColour);
    currentLabel_->setText(QString::number(current_));
    totalLabel_->setText(QString::number(finding_.total));
    lineLabel_->setText(QString::number(finding_.line));
    characterLabel_->setText(QString::number(finding_.character));
    style::SetColours(*message_, levelColour);
    style::SetColours(*grid_, levelColour);
    message_->setPlainText(DisplayText(finding_.message));

    field_ = LocateField(layouts_, finding_.type, finding_.column);
    const int maximum = ScrollMaximum(static_cast<int>(finding_.record.size()), cellCount());
    scroll_->setRange(1, std::max(maximum, 1));
    scroll_->setValue(ScrollPosition(field_, finding_.character, cellCount(), maximum));
    fillFieldGrid();

    next_->setEnabled(current_ != finding_.total);
    last_->setEnabled(current_ != finding_.total);
    previous_->setEnabled(current_ != 1);
    first_->setEnabled(current_ != 1);
}

void ResultsViewer::showCharacters() {
    const int first = scroll_->value();
    const QColor window = palette().color(QPalette::Base);
    for (int i = 0; i < cellCount(); ++i) {
        const int position = first + i;
        QLabel* cell = cells_[static_cast<std::size_t>(i)];
        const bool inRecord =
            position >= 1 && static_cast<std::size_t>(position) <= finding_.record.size();
        cell->setText(
            inRecord ? QString(QLatin1Char(finding_.record[static_cast<std::size_t>(position - 1)]))
                     : QString());
        switch (MarkOf(position, finding_.character, field_)) {
            case CellMark::Character:
                style::SetColours(*cell, style::kRed, style::kYellow);
                break;
            case CellMark::Field:
                style::SetColours(*cell, window, style::kRed);
                break;
            case CellMark::Plain:
                style::SetColours(*cell, style::kGrey, window);
                break;
        }
    }
    charInfo_->setText(
        QStringLiteral("Characters: %1 to %2").arg(first).arg(first + cellCount() - 1));
}

void ResultsViewer::fillFieldGrid() {
    const std::vector<GridRow> rows =
        FieldGridRows(LayoutOfType(layouts_, finding_.type), finding_.record);
    grid_->clearSelection();
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        grid_->setItem(static_cast<int>(row), 0, new QTableWidgetItem(DisplayText(rows[row].name)));
        grid_->setItem(static_cast<int>(row), 1,
                       new QTableWidgetItem(DisplayText(rows[row].value)));
    }
    const int rowCount = grid_->rowCount();
    const int visibleRows = rowCount > 0
                                ? static_cast<int>(RoundHalfEven(
                                      static_cast<double>(grid_->height()) / grid_->rowHeight(0)))
                                : 0;
    const GridPlacement placement = PlaceGridSelection(finding_.column, rowCount, visibleRows);
    if (placement.selectedRow >= 0) grid_->selectRow(placement.selectedRow);
    grid_->verticalScrollBar()->setValue(std::max(placement.firstVisibleRow, 0));
}

void ResultsViewer::print() {
    QPrinter printer;
    if (!dialogs_.preparePrinter(this, printer)) return;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A file that cannot be read prints nothing, as before.
    static_cast<void>(PrintResultsFile(resultsPath_, printer));
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

void ResultsViewer::viewReport() {
    const std::string failure = opener_.openTextFile(DeriveOutputPath(resultsPath_, ".dst"));
    if (!failure.empty()) dialogs_.showMessage(this, ViewReportFailedMessage(failure));
}

}  // namespace talveron
