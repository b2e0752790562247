#include "ui/run_panels.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

#include "ui/window_style.h"

namespace talveron {

namespace {

constexpr int kRows = 4;
constexpr int kColumns = 3;

QLabel* Label(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* Heading(const QString& text, int element, QWidget* parent) {
    QLabel* label = Label(text, QStringLiteral("Label1_%1").arg(element), parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* Panel(const QString& name, const QColor& colour, QWidget* parent) {
    QLabel* panel = Label(QString(), name, parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->setMargin(2);
    style::SetColours(*panel, colour);
    return panel;
}

QProgressBar* Indicator(const QString& name, const QString& tip, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setAlignment(Qt::AlignCenter);
    bar->setToolTip(tip);
    bar->setFixedHeight(style::Px(300));
    return bar;
}

void SetFill(QProgressBar& bar, const QColor& fill) {
    QPalette palette = bar.palette();
    palette.setColor(QPalette::Highlight, fill);
    bar.setPalette(palette);
}

QColor ColumnColour(int row, int column) {
    if (column == 0) return style::kBlue;
    if (column == 1) return style::kMagenta;
    return row == kRows - 1 ? style::kDarkRed : style::kRed;
}

}  // namespace

RunPanels::RunPanels(QWidget* parent)
    : QGroupBox(QStringLiteral("Processing"), parent),
      overall_(Indicator(QStringLiteral("overall"), QStringLiteral("The whole run"), this)),
      progress_(Indicator(QStringLiteral("progress"), QStringLiteral("The current pass"), this)),
      time_(Panel(QStringLiteral("TheTime"), style::kDarkBlue, this)) {
    setObjectName(QStringLiteral("Frame3D2"));
    QFont italic = progress_->font();
    italic.setItalic(true);
    progress_->setFont(italic);
    time_->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(style::Px(120));
    grid->setVerticalSpacing(style::Px(45));
    grid->addWidget(overall_, 0, 0, 1, kColumns + 1);
    grid->addWidget(progress_, 1, 0, 1, kColumns + 1);
    QLabel* timeCaption = Label(QStringLiteral("Elapsed Time:"), QStringLiteral("Label1_8"), this);
    timeCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(timeCaption, 2, 0, 1, 2);
    grid->addWidget(time_, 2, 2);

    const int headingRow = 3;
    grid->addWidget(Heading(QStringLiteral("Record Types"), 0, this), headingRow, 0);
    const std::array<QString, kColumns> columns{
        QStringLiteral("Processed"), QStringLiteral("Warnings"), QStringLiteral("Errors")};
    for (int column = 0; column < kColumns; ++column) {
        grid->addWidget(Heading(columns[column], 5 + column, this), headingRow, column + 1);
    }
    const std::array<QString, kRows> rows{QStringLiteral("Dose"), QStringLiteral("Intake"),
                                          QStringLiteral("Comment"), QStringLiteral("Total")};
    for (int row = 0; row < kRows; ++row) {
        grid->addWidget(Label(rows[row], QStringLiteral("Label1_%1").arg(row + 1), this),
                        headingRow + 1 + row, 0);
        for (int column = 0; column < kColumns; ++column) {
            const int index = kColumns * row + column;
            counters_[index] =
                Panel(QStringLiteral("Panel3D2_%1").arg(index), ColumnColour(row, column), this);
            grid->addWidget(counters_[index], headingRow + 1 + row, column + 1);
        }
    }
    for (int column = 0; column <= kColumns; ++column) grid->setColumnStretch(column, 1);
    SetFill(*overall_, style::kBlue);
    showPhase(RunPhase::Validating);
}

void RunPanels::resetCounters() { showCounters(RunCounters{}); }

void RunPanels::resetForRun() {
    showProgress(0, 0);
    time_->clear();
    resetCounters();
}

void RunPanels::showCounters(const RunCounters& counters) {
    for (std::size_t index = 0; index < counters_.size(); ++index) {
        counters_[index]->setText(QString::fromStdString(FormatGrouped(counters.values[index])));
    }
}

void RunPanels::showProgress(int pass, int overall) {
    progress_->setValue(pass);
    overall_->setValue(overall);
}

void RunPanels::showPhase(RunPhase phase) {
    QColor fill = style::kBlue;
    if (phase == RunPhase::Registering) fill = style::kMagenta;
    if (phase == RunPhase::Summarising) fill = style::kGreen;
    SetFill(*progress_, fill);
}

void RunPanels::showElapsed(const QString& text) { time_->setText(text); }

}  // namespace talveron
