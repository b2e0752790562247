#include "ui/column_flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace talveron {

namespace {

int ColumnWidth(const std::vector<QLayoutItem*>& column) {
    int width = 0;
    for (const QLayoutItem* item : column) width = std::max(width, item->sizeHint().width());
    return width;
}

}  // namespace

ColumnFlowLayout::ColumnFlowLayout(int maxColumns, int horizontalSpacing, int verticalSpacing,
                                   QWidget* parent)
    : QLayout(parent),
      maxColumns_(maxColumns),
      horizontalSpacing_(horizontalSpacing),
      verticalSpacing_(verticalSpacing) {}

ColumnFlowLayout::~ColumnFlowLayout() {
    for (QLayoutItem* item : items_) delete item;
}

void ColumnFlowLayout::addItem(QLayoutItem* item) { items_.push_back(item); }

int ColumnFlowLayout::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* ColumnFlowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* ColumnFlowLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    return item;
}

std::vector<std::vector<QLayoutItem*>> ColumnFlowLayout::split(int columns) const {
    const std::size_t rows =
        (items_.size() + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns);
    std::vector<std::vector<QLayoutItem*>> split(static_cast<std::size_t>(columns));
    for (std::size_t i = 0; i < items_.size(); ++i) split[i / rows].push_back(items_[i]);
    return split;
}

int ColumnFlowLayout::naturalWidth(int columns) const {
    int width = 0;
    for (const auto& column : split(columns)) width += ColumnWidth(column) + horizontalSpacing_;
    return width - horizontalSpacing_;
}

int ColumnFlowLayout::columnsFor(int width) const {
    const QMargins margins = contentsMargins();
    const int room = width - margins.left() - margins.right();
    int columns = std::clamp(count(), 1, maxColumns_);
    while (columns > 1 && naturalWidth(columns) > room) --columns;
    return columns;
}

int ColumnFlowLayout::arrange(const QRect& content, bool place) const {
    if (items_.empty()) return 0;
    const QMargins margins = contentsMargins();
    const int columns = columnsFor(content.width() + margins.left() + margins.right());
    const auto split = this->split(columns);
    const int spare = std::max(0, content.width() - naturalWidth(columns)) / columns;
    int height = 0;
    for (std::size_t row = 0; row < split.front().size(); ++row) {
        int rowHeight = 0;
        for (const auto& column : split) {
            if (row < column.size()) {
                rowHeight = std::max(rowHeight, column[row]->sizeHint().height());
            }
        }
        int x = content.x();
        for (const auto& column : split) {
            const int width = ColumnWidth(column) + spare;
            if (place && row < column.size()) {
                column[row]->setGeometry(QRect(x, content.y() + height, width, rowHeight));
            }
            x += width + horizontalSpacing_;
        }
        height += rowHeight + verticalSpacing_;
    }
    return height - verticalSpacing_;
}

QSize ColumnFlowLayout::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int width = naturalWidth(std::clamp(count(), 1, maxColumns_));
    return QSize(width, arrange(QRect(0, 0, width, 0), false)) +
           QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize ColumnFlowLayout::minimumSize() const {
    int widest = 0;
    for (const QLayoutItem* item : items_) widest = std::max(widest, item->sizeHint().width());
    const QMargins margins = contentsMargins();
    return QSize(widest + margins.left() + margins.right(), sizeHint().height());
}

int ColumnFlowLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    const QRect content(0, 0, width - margins.left() - margins.right(), 0);
    return arrange(content, false) + margins.top() + margins.bottom();
}

void ColumnFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect.marginsRemoved(contentsMargins()), true);
}

}  // namespace talveron
