#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/record_layout.h"

namespace talveron {

/// The number of character cells that fit a window of `innerWidth` with cells of `cellWidth`,
/// keeping one cell's margin at either side (rounded half to even).
int StripCellCount(double innerWidth, double cellWidth);

/// The highest scroll position of the strip: the line shown to its end. Below 1 when the line is
/// shorter than the strip.
int ScrollMaximum(int recordLength, int cellCount);

/// The first line position the strip shows for a finding: the field start (else the character)
/// moved to the middle of the strip, kept within 1..scrollMaximum; 1 without either.
int ScrollPosition(FieldSpan field, int character, int cellCount, int scrollMaximum);

/// How a cell of the strip is marked.
enum class CellMark { Character, Field, Plain };

/// The mark of line position `position`: the finding's character first, then its field.
CellMark MarkOf(int position, int character, FieldSpan field);

/// One row of the field grid.
struct GridRow {
    std::string name;   ///< the field name without blanks
    std::string value;  ///< the field's characters of the record without surrounding blanks

    bool operator==(const GridRow&) const = default;
};

/// The record cut into the fields of its layout, in layout order; no rows without a layout.
std::vector<GridRow> FieldGridRows(const RecordLayout* layout, std::string_view record);

/// Which grid row is highlighted and which row the grid shows first; -1 for none / no scrolling.
struct GridPlacement {
    int selectedRow = -1;
    int firstVisibleRow = -1;

    bool operator==(const GridPlacement&) const = default;
};

/// The grid placement for field `column` among `rowCount` rows when `visibleRows` fit the grid:
/// columns 2..rowCount select their row, shown with the row above it or on the last page. Column
/// 1 (the record's first field) selects nothing.
GridPlacement PlaceGridSelection(int column, int rowCount, int visibleRows);

}  // namespace talveron
