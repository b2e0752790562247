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

#include <algorithm>
#include <fstream>

#include "run/run_paths.h"
#include "ui/character_strip.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/document_window.h"
#include "ui/finding_source.h"
#include "ui/go_to_finding_dialog.h"
#include "ui/operator_message.h"
#include "ui/results_index.h"
#include "ui/results_printout.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

namespace fs = std::filesystem;

constexpr int kInnerWidth = style::Px(7320);
constexpr int kInnerHeight = style::Px(5970);

// A results file up to this size is indexed in a few milliseconds as the window opens; a bigger
// one, or anything but a plain file, on the task's thread.
constexpr std::uintmax_t kIndexAtOnceBytes = std::uintmax_t{8} << 20;

struct OpenedResults {
    std::shared_ptr<std::istream> file;
    std::shared_ptr<const ResultsIndex> index;
};

// A file that cannot be read gives an empty index: the window then shows the defaults, like a
// finding that is not in the file. nullopt when `progress` stopped the indexing.
std::optional<OpenedResults> OpenResults(const fs::path& path, const IndexProgress& progress) {
    auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
    std::optional<ResultsIndex> index = IndexResultsFile(*file, progress);
    if (!index) return std::nullopt;
    return OpenedResults{file, std::make_shared<const ResultsIndex>(std::move(*index))};
}

QLabel* NumberLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setMinimumWidth(style::Px(600));
    label->setMargin(2);  // a seven-digit count keeps clear of the border
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
      opener_(opener),
      task_(*this) {
    setObjectName(QStringLiteral("e"));
    setWindowTitle(QStringLiteral("Talveron Errors & Warnings"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    style::ApplyWindowLook(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, style::Px(60), 0, style::Px(90));
    layout->setSpacing(style::Px(60));
    buildMenus();

    charInfo_ = new QLabel(this);
    charInfo_->setObjectName(QStringLiteral("charinfo"));
    charInfo_->setAlignment(Qt::AlignCenter);
    charInfo_->setFont(style::BoldFont(9.75));
    layout->addWidget(charInfo_);
    strip_ = new CharacterStrip(this);
    layout->addWidget(strip_, 0, Qt::AlignHCenter);

    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(QStringLiteral("hs"));
    connect(scroll_, &QScrollBar::valueChanged, this, &ResultsViewer::showCharacters);
    layout->addWidget(scroll_, 0, Qt::AlignHCenter);

    grid_ = buildGrid();
    layout->addWidget(grid_, 1, Qt::AlignHCenter);

    layout->addWidget(buildFindingRow(), 0, Qt::AlignHCenter);

    message_ = new QPlainTextEdit(this);
    message_->setObjectName(QStringLiteral("et"));
    message_->setReadOnly(true);
    message_->setFocusPolicy(Qt::ClickFocus);  // read, not typed in: Tab passes it by
    message_->setFont(style::BoldFont(9.75));
    message_->setFixedHeight(2 * strip_->cellHeight());
    layout->addWidget(message_, 0, Qt::AlignHCenter);

    layout->addWidget(buildButtons(), 0, Qt::AlignHCenter);

    const QSize designed(kInnerWidth, kInnerHeight + layout->menuBar()->sizeHint().height());
    setMinimumSize(designed);
    resize(designed);
    fitToWidth();
    layout->activate();
    openResults();
}

ResultsViewer::~ResultsViewer() = default;

int ResultsViewer::cellCount() const { return strip_->cellCount(); }

bool ResultsViewer::ready() const { return source_ != nullptr && !task_.running(); }

void ResultsViewer::setNewFindings(std::vector<std::int64_t> numbers) {
    newFindings_ = std::move(numbers);
    if (newFindings_.empty()) newOnly_->setChecked(false);
    newOnly_->setEnabled(!newFindings_.empty());
    if (ready()) go(current_);
}

void ResultsViewer::buildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    const auto add = [this](QMenu* menu, const QString& text, const QString& name,
                            const QList<QKeySequence>& keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcuts(keys);
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
    add(file, QStringLiteral("&Print"), QStringLiteral("mPrint"), {}, [this] { print(); });
    add(file, QStringLiteral("&Close"), QStringLiteral("mClose"), {},
        asButton(&ResultsViewer::close_));
    add(file, QStringLiteral("&View Report"), QStringLiteral("mReport"), {},
        [this] { viewReport(); });
    // The step keys act wherever the focus is; the Alt+arrow keys are their second set.
    QMenu* step = bar->addMenu(QStringLiteral("&Step"));
    step->setObjectName(QStringLiteral("mStep"));
    add(step, QStringLiteral("&First"), QStringLiteral("mFirst"),
        {Qt::Key_Home, Qt::ALT | Qt::Key_Up}, asButton(&ResultsViewer::first_));
    add(step, QStringLiteral("&Last"), QStringLiteral("mLast"),
        {Qt::Key_End, Qt::ALT | Qt::Key_Down}, asButton(&ResultsViewer::last_));
    add(step, QStringLiteral("&Previous"), QStringLiteral("mPrev"),
        {Qt::Key_PageUp, Qt::ALT | Qt::Key_Left}, asButton(&ResultsViewer::previous_));
    add(step, QStringLiteral("&Next"), QStringLiteral("mNext"),
        {Qt::Key_PageDown, Qt::ALT | Qt::Key_Right}, asButton(&ResultsViewer::next_));
    step->addSeparator();
    add(step, QStringLiteral("&Go To Finding..."), QStringLiteral("mGoTo"), {Qt::CTRL | Qt::Key_G},
        [this] { goTo(); });
    add(step, QStringLiteral("Next with Same &Message"), QStringLiteral("mNextMessage"),
        {Qt::Key_F3}, [this] { findNext(FindingMatch::SameMessage); });
    add(step, QStringLiteral("Next on Same L&ine"), QStringLiteral("mNextLine"),
        {Qt::CTRL | Qt::Key_L}, [this] { findNext(FindingMatch::SameLine); });
    step->addSeparator();
    newOnly_ = step->addAction(QStringLiteral("Only Ne&w Findings"));
    newOnly_->setObjectName(QStringLiteral("mNewOnly"));
    newOnly_->setCheckable(true);
    newOnly_->setEnabled(false);  // until the new findings are known
    connect(newOnly_, &QAction::toggled, this,
            [this](bool only) { go(only ? endOf(-1) : current_); });
}

QTableWidget* ResultsViewer::buildGrid() {
    auto* grid = new QTableWidget(0, 2, this);
    grid->setObjectName(QStringLiteral("cv"));
    grid->setFont(style::BoldFont(9.75));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->horizontalHeader()->setStretchLastSection(true);
    // Tab goes on to the next control, not to the next cell.
    grid->setTabKeyNavigation(false);
    // Each time the grid lays its rows out anew (as the window opens or is resized), the
    // finding's field is brought back into view.
    connect(grid->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &ResultsViewer::placeGridSelection);
    return grid;
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
    newMark_ = new QLabel(QStringLiteral("NEW"), row);
    newMark_->setObjectName(QStringLiteral("lnew"));
    newMark_->setToolTip(QStringLiteral("New since the last run of the load file"));
    newMark_->setFont(style::BoldFont(9.75));
    newMark_->hide();
    currentLabel_ = NumberLabel(QStringLiteral("lcurrent"), row);
    auto* of = new QLabel(QStringLiteral("of"), row);
    of->setObjectName(QStringLiteral("lofc"));
    totalLabel_ = NumberLabel(QStringLiteral("ltotal"), row);
    characterLabel_ = NumberLabel(QStringLiteral("lchar"), row);
    lineLabel_ = NumberLabel(QStringLiteral("lline"), row);
    layout->addWidget(level_);
    layout->addWidget(newMark_);
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
    // Until the file is indexed there is nothing to step through.
    for (QPushButton* button : {first_, last_, previous_, next_}) button->setEnabled(false);
    connect(first_, &QPushButton::clicked, this, [this] { go(endOf(-1)); });
    connect(last_, &QPushButton::clicked, this, [this] { go(endOf(1)); });
    connect(previous_, &QPushButton::clicked, this,
            [this] { go(stepFrom(current_, -1).value_or(current_)); });
    connect(next_, &QPushButton::clicked, this,
            [this] { go(stepFrom(current_, 1).value_or(current_)); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    return row;
}

void ResultsViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (fitToWidth() && source_ != nullptr) {
        scrollStrip();
        showCharacters();
    }
}

bool ResultsViewer::fitToWidth() {
    const bool changed = strip_->fitTo(width());
    for (QWidget* widget : std::initializer_list<QWidget*>{scroll_, grid_, message_}) {
        widget->setFixedWidth(strip_->width());
    }
    sizeNameColumn();
    return changed;
}

void ResultsViewer::openResults() {
    std::error_code error;
    const fs::file_status status = fs::status(resultsPath_, error);
    const std::uintmax_t size =
        fs::is_regular_file(status) ? fs::file_size(resultsPath_, error) : 0;
    if (!fs::exists(status) || (fs::is_regular_file(status) && size < kIndexAtOnceBytes)) {
        const std::optional<OpenedResults> opened = OpenResults(resultsPath_, {});
        showResults(opened->file, opened->index);
        return;
    }
    const QString label = QStringLiteral("Reading the findings of %1 ...")
                              .arg(QString::fromStdString(resultsPath_.filename().string()));
    task_.start(
        label,
        [this, path = resultsPath_, size](TaskProgress& progress) -> std::function<void()> {
            const std::optional<OpenedResults> opened =
                OpenResults(path, [&progress, size](std::uint64_t offset) {
                    if (size > 0) {
                        progress.report(
                            static_cast<int>(std::min<std::uint64_t>(offset, size) * 1000 / size));
                    }
                    return !progress.cancelled();
                });
            if (!opened) return {};
            return [this, opened = *opened] { showResults(opened.file, opened.index); };
        },
        [this] { reject(); });
}

void ResultsViewer::showResults(std::shared_ptr<std::istream> file,
                                std::shared_ptr<const ResultsIndex> index) {
    file_ = std::move(file);
    index_ = std::move(index);
    source_ = std::make_unique<FindingSource>(*file_, *index_);
    go(1);
}

void ResultsViewer::go(std::int64_t number) {
    if (!ready()) return;
    current_ = number;
    showFinding();
    showCharacters();
    emit findingShown();
}

std::optional<std::int64_t> ResultsViewer::stepFrom(std::int64_t number, int direction) const {
    if (!newOnly_->isChecked()) {
        // Without findings the total is 0 and Next still leads on, as it always has.
        if (number == (direction < 0 ? 1 : source_->total())) return std::nullopt;
        return number + direction;
    }
    if (direction < 0) {
        const auto before = std::lower_bound(newFindings_.begin(), newFindings_.end(), number);
        return before == newFindings_.begin() ? std::nullopt : std::optional(*std::prev(before));
    }
    const auto after = std::upper_bound(newFindings_.begin(), newFindings_.end(), number);
    return after == newFindings_.end() ? std::nullopt : std::optional(*after);
}

std::int64_t ResultsViewer::endOf(int direction) const {
    if (newOnly_->isChecked()) return direction < 0 ? newFindings_.front() : newFindings_.back();
    return direction < 0 ? 1 : source_->total();
}

void ResultsViewer::goTo() {
    if (!ready() || source_->total() < 1) return;
    GoToFindingDialog dialog(current_, source_->total(), this);
    dialogs_.showModal(dialog);
    if (dialog.result() == QDialog::Accepted) go(dialog.number());
}

void ResultsViewer::findNext(FindingMatch match) {
    if (!ready()) return;
    const QString label = match == FindingMatch::SameMessage
                              ? QStringLiteral("Looking for the next finding with this message ...")
                              : QStringLiteral("Looking for the next finding on this line ...");
    task_.start(label,
                [this, path = resultsPath_, index = index_, from = current_, like = finding_,
                 match](TaskProgress& progress) -> std::function<void()> {
                    std::ifstream file(path, std::ios::binary);
                    FindingSource source(file, *index);
                    const std::int64_t total = source.total();
                    const std::optional<std::int64_t> found =
                        FindNextFinding(source, from, like, match, [&](std::int64_t number) {
                            progress.report(
                                static_cast<int>(number * 1000 / std::max<std::int64_t>(total, 1)));
                            return !progress.cancelled();
                        });
                    return [this, found, match] {
                        if (found) {
                            go(*found);
                        } else {
                            dialogs_.showMessage(this, NoLaterFindingMessage(match));
                        }
                    };
                },
                {});
}

void ResultsViewer::showFinding() {
    finding_ = source_->finding(current_);

    const QColor levelColour = finding_.errorLevel() ? style::kRed : style::kBlue;
    level_->setText(DisplayText(finding_.level));
    style::SetColours(*level_, levelColour);
    currentLabel_->setText(QString::number(current_));
    totalLabel_->setText(QString::number(source_->total()));
    lineLabel_->setText(QString::number(finding_.line));
    characterLabel_->setText(QString::number(finding_.character));
    style::SetColours(*message_, levelColour);
    style::SetColours(*grid_, levelColour);
    message_->setPlainText(DisplayText(finding_.message));

    field_ = LocateField(layouts_, finding_.type, finding_.column);
    scrollStrip();
    fillFieldGrid();

    newMark_->setVisible(std::binary_search(newFindings_.begin(), newFindings_.end(), current_));
    const bool later = stepFrom(current_, 1).has_value();
    const bool earlier = stepFrom(current_, -1).has_value();
    next_->setEnabled(later);
    last_->setEnabled(later);
    previous_->setEnabled(earlier);
    first_->setEnabled(earlier);
}

void ResultsViewer::scrollStrip() {
    const int maximum = ScrollMaximum(static_cast<int>(finding_.record.size()), cellCount());
    scroll_->setRange(1, std::max(maximum, 1));
    scroll_->setPageStep(cellCount());
    scroll_->setValue(ScrollPosition(field_, finding_.character, cellCount(), maximum));
}

void ResultsViewer::showCharacters() {
    const int first = scroll_->value();
    strip_->display(finding_.record, first, finding_.character, field_);
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
    sizeNameColumn();
    const GridPlacement placement = PlaceGridSelection(finding_.column, grid_->rowCount(), 0);
    if (placement.selectedRow >= 0) grid_->selectRow(placement.selectedRow);
    // The rows exist only once the grid has laid them out.
    grid_->doItemsLayout();
    placeGridSelection();
}

void ResultsViewer::sizeNameColumn() {
    // A third of the grid, or more when a field's whole name needs it.
    grid_->resizeColumnToContents(0);
    grid_->setColumnWidth(0, std::max(grid_->width() / 3, grid_->columnWidth(0)));
}

void ResultsViewer::placeGridSelection() {
    const int rowCount = grid_->rowCount();
    const int rowHeight = rowCount > 0 ? grid_->rowHeight(0) : 0;
    // The rows wholly in view, so that the selected row is never cut off at the bottom.
    const int visibleRows = rowHeight > 0 ? grid_->viewport()->height() / rowHeight : 0;
    const GridPlacement placement = PlaceGridSelection(finding_.column, rowCount, visibleRows);
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
    ShowReport(*this, DeriveOutputPath(resultsPath_, ".dst"), dialogs_, opener_);
}

}  // namespace talveron
