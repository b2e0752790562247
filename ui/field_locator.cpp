#include "ui/field_locator.h"

#include <algorithm>

#include "config/number.h"
#include "config/text.h"

namespace talveron {

namespace {

int RoundedHalfEven(double value) { return static_cast<int>(RoundHalfEven(value)); }

// The characters of `text` from 1-based `position`, at most `count` of them; empty past the end.
std::string_view Characters(std::string_view text, int position, int count) {
    if (position < 1 || count <= 0 || static_cast<std::size_t>(position) > text.size()) return {};
    return text.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(count));
}

}  // namespace

int StripCellCount(double innerWidth, double cellWidth) {
    return RoundedHalfEven(innerWidth / cellWidth - 2);
}

int ScrollMaximum(int recordLength, int cellCount) { return recordLength - cellCount + 1; }

int ScrollPosition(FieldSpan field, int character, int cellCount, int scrollMaximum) {
    const int anchor = field.start >= 1 ? field.start : character;
    if (anchor < 1) return 1;
    const int centred = RoundedHalfEven(anchor - cellCount / 2.0);
    return std::max(std::min(centred, scrollMaximum), 1);
}

CellMark MarkOf(int position, int character, FieldSpan field) {
    if (position == character) return CellMark::Character;
    if (position >= field.start && position <= field.start + field.length - 1)
        return CellMark::Field;
    return CellMark::Plain;
}

std::vector<GridRow> FieldGridRows(const RecordLayout* layout, std::string_view record) {
    std::vector<GridRow> rows;
    if (layout == nullptr) return rows;
    for (const FieldDef& field : layout->fields) {
        rows.push_back({field.trimmedName,
                        std::string(TrimSpaces(Characters(record, field.start, field.len)))});
    }
    return rows;
}

GridPlacement PlaceGridSelection(int column, int rowCount, int visibleRows) {
    if (column <= 1 || column > rowCount) return {};
    GridPlacement placement{column - 1, -1};
    const int lastPage = rowCount - visibleRows;
    if (lastPage >= 0) placement.firstVisibleRow = column > lastPage ? lastPage : column - 2;
    return placement;
}

}  // namespace talveron
