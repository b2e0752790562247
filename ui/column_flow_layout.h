#pragma once

#include <QLayout>

#include <vector>

namespace talveron {

/// Lays its items out in as many columns as fit its width, up to a maximum: each column is
/// filled from top to bottom before the next, the rows of all columns line up, and spare width is
/// shared out among the columns. A narrow window gets one long column to scroll instead of
/// columns cut off at its edge.
class ColumnFlowLayout final : public QLayout {
public:
    ColumnFlowLayout(int maxColumns, int horizontalSpacing, int verticalSpacing,
                     QWidget* parent = nullptr);
    ~ColumnFlowLayout() override;

    /// The number of columns the items take at that width (margins included).
    int columnsFor(int width) const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    /// As wide as all columns side by side.
    QSize sizeHint() const override;
    /// As wide as the widest item, as high as the items are side by side.
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

private:
    /// The items of each column when laid out in `columns` columns.
    std::vector<std::vector<QLayoutItem*>> split(int columns) const;
    /// The widths of the columns side by side, spacing included.
    int naturalWidth(int columns) const;
    /// Lays the items out in the content rectangle; returns the height they take.
    int arrange(const QRect& content, bool place) const;

    int maxColumns_;
    int horizontalSpacing_;
    int verticalSpacing_;
    std::vector<QLayoutItem*> items_;
};

}  // namespace talveron
