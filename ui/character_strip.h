#pragma once

#include <QWidget>

#include <string_view>
#include <vector>

#include "ui/field_locator.h"

class QLabel;

namespace talveron {

/// The character strip of the results viewer: one cell (`T_0`, `T_1`, ...) per character of the
/// record from a first line position, with the finding's field and character marked, over a
/// ruler that numbers every tenth position. It has as many cells as its window's width holds.
class CharacterStrip final : public QWidget {
    Q_OBJECT

public:
    explicit CharacterStrip(QWidget* parent = nullptr);

    /// Sizes the strip to the cells that fit a window of `innerWidth`; true when their number
    /// changed.
    bool fitTo(int innerWidth);
    int cellCount() const { return static_cast<int>(cells_.size()); }
    /// The height of one cell, the unit the viewer's rows are measured in.
    int cellHeight() const { return cellHeight_; }

    /// Shows `record` from line position `first` (1-based), marking `character` and `field`.
    void display(std::string_view record, int first, int character, FieldSpan field);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int cellWidth_;
    int cellHeight_;
    int rulerHeight_;
    int first_ = 1;
    std::vector<QLabel*> cells_;
};

}  // namespace talveron
