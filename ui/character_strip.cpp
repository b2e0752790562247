#include "ui/character_strip.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include "ui/window_style.h"

namespace talveron {

namespace {

QFont CellFont() { return style::BoldFont(12); }
QFont RulerFont() { return style::BoldFont(7); }

}  // namespace

CharacterStrip::CharacterStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("strip"));
    const QFontMetrics metrics(CellFont());
    // The cell of one "W", the widest letter, with room for its border.
    cellWidth_ = metrics.horizontalAdvance(QLatin1Char('W')) + 2;
    cellHeight_ = metrics.height() + 6;
    rulerHeight_ = QFontMetrics(RulerFont()).height() + 4;
}

bool CharacterStrip::fitTo(int innerWidth) {
    const int count = std::max(StripCellCount(innerWidth, cellWidth_), 1);
    if (count == cellCount()) return false;
    while (cellCount() > count) {
        delete cells_.back();
        cells_.pop_back();
    }
    while (cellCount() < count) {
        auto* cell = new QLabel(this);
        cell->setObjectName(QStringLiteral("T_%1").arg(cellCount()));
        cell->setFont(CellFont());
        cell->setAlignment(Qt::AlignCenter);
        cell->setFrameStyle(QFrame::Box | QFrame::Plain);
        cell->setGeometry(cellCount() * cellWidth_, 0, cellWidth_, cellHeight_);
        cell->show();
        cells_.push_back(cell);
    }
    setFixedSize(count * cellWidth_, cellHeight_ + rulerHeight_);
    return true;
}

void CharacterStrip::display(std::string_view record, int first, int character, FieldSpan field) {
    first_ = first;
    const QColor window = palette().color(QPalette::Base);
    for (int i = 0; i < cellCount(); ++i) {
        const int position = first + i;
        QLabel* cell = cells_[static_cast<std::size_t>(i)];
        const bool inRecord = position >= 1 && static_cast<std::size_t>(position) <= record.size();
        cell->setText(inRecord
                          ? QString(QLatin1Char(record[static_cast<std::size_t>(position - 1)]))
                          : QString());
        switch (MarkOf(position, character, field)) {
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
    update();
}

void CharacterStrip::paintEvent(QPaintEvent*) {
    // A tick under every cell, a longer one every fifth position, the number every tenth.
    QPainter painter(this);
    painter.setFont(RulerFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = cellHeight_;
    for (int i = 0; i < cellCount(); ++i) {
        const int position = first_ + i;
        const int centre = i * cellWidth_ + cellWidth_ / 2;
        const int tick = position % 5 == 0 ? 4 : 2;
        painter.drawLine(centre, top, centre, top + tick);
        if (position % 10 == 0) {
            const QRect box(centre - 2 * cellWidth_, top + 3, 4 * cellWidth_, rulerHeight_ - 3);
            painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(position));
        }
    }
}

}  // namespace talveron
