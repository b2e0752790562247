#include "ui/field_locator.h"

#include <QTest>

namespace talveron {

class FieldLocatorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void locatesFieldsOfTheFourTypes_data();
    void locatesFieldsOfTheFourTypes();
    void countsCellsThatFitTheWindow_data();
    void countsCellsThatFitTheWindow();
    void letsTheStripScrollToTheLineEnd();
    void centresTheFieldOrCharacter_data();
    void centresTheFieldOrCharacter();
    void marksCharacterBeforeField_data();
    void marksCharacterBeforeField();
    void cutsTheRecordIntoItsFields();
    void listsNoFieldsWithoutALayout();
    void selectsAndScrollsTheGrid_data();
    void selectsAndScrollsTheGrid();

private:
    LayoutTable layouts_;
};

namespace {

// Widths 3, 5 and 2: the fields start at 1, 5 and 11.
constexpr const char* kLayouts =
    "[H]\n1=Licence\n2=Period\n[C]\n1=Ident\n2=Note\n[I]\n1=Ident\n"
    "[D]\n1=Ident\n2=Name\n3=Code\n"
    "[Licence]\nLen=4\n[Period]\nLen=6\n[Ident]\nLen=3\n[Name]\nLen=5\n[Code]\nLen=2\n[Note]\nLen="
    "8\n";

}  // namespace

void FieldLocatorTest::initTestCase() {
    layouts_ = LoadRecordLayouts(IniDocument(kLayouts));
    QVERIFY(layouts_.usable());
}

void FieldLocatorTest::locatesFieldsOfTheFourTypes_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::newRow("dose, first field") << QStringLiteral("D") << 1 << 1 << 3;
    QTest::newRow("dose, second field") << QStringLiteral("D") << 2 << 5 << 5;
    QTest::newRow("dose, last field") << QStringLiteral("D") << 3 << 11 << 2;
    QTest::newRow("header") << QStringLiteral("H") << 2 << 6 << 6;
    QTest::newRow("comment") << QStringLiteral("C") << 2 << 5 << 8;
    QTest::newRow("intake") << QStringLiteral("I") << 1 << 1 << 3;
    QTest::newRow("column above the layout") << QStringLiteral("D") << 4 << 0 << 0;
    QTest::newRow("column 0") << QStringLiteral("D") << 0 << 0 << 0;
    QTest::newRow("negative column") << QStringLiteral("D") << -1 << 0 << 0;
    QTest::newRow("type without layout") << QStringLiteral("Z") << 1 << 0 << 0;
    QTest::newRow("types are exact") << QStringLiteral("d") << 1 << 0 << 0;
    QTest::newRow("one letter only") << QStringLiteral("DD") << 1 << 0 << 0;
}

void FieldLocatorTest::locatesFieldsOfTheFourTypes() {
    QFETCH(QString, type);
    QFETCH(int, column);
    QFETCH(int, start);
    QFETCH(int, length);
    const FieldSpan span = LocateField(layouts_, type.toStdString(), column);
    QCOMPARE(span.start, start);
    QCOMPARE(span.length, length);
}

void FieldLocatorTest::countsCellsThatFitTheWindow_data() {
    QTest::addColumn<double>("innerWidth");
    QTest::addColumn<double>("cellWidth");
    QTest::addColumn<int>("cells");
    QTest::newRow("whole") << 480.0 << 20.0 << 22;
    QTest::newRow("rounded down") << 488.0 << 20.0 << 22;        // 24.4 - 2
    QTest::newRow("rounded up") << 495.0 << 20.0 << 23;          // 24.75 - 2
    QTest::newRow("half to even, down") << 490.0 << 20.0 << 22;  // 22.5
    QTest::newRow("half to even, up") << 510.0 << 20.0 << 24;    // 23.5
}

void FieldLocatorTest::countsCellsThatFitTheWindow() {
    QFETCH(double, innerWidth);
    QFETCH(double, cellWidth);
    QFETCH(int, cells);
    QCOMPARE(StripCellCount(innerWidth, cellWidth), cells);
}

void FieldLocatorTest::letsTheStripScrollToTheLineEnd() {
    QCOMPARE(ScrollMaximum(200, 24), 177);  // positions 177..200 fill the 24 cells
    QCOMPARE(ScrollMaximum(24, 24), 1);
    QCOMPARE(ScrollMaximum(10, 24), -13);  // shorter than the strip
}

void FieldLocatorTest::centresTheFieldOrCharacter_data() {
    QTest::addColumn<int>("fieldStart");
    QTest::addColumn<int>("character");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::newRow("field in the middle") << 130 << 131 << 24 << 177 << 118;
    QTest::newRow("field start wins over the character") << 130 << 20 << 24 << 177 << 118;
    QTest::newRow("field at the start: 1 - 12 raised to 1") << 1 << 0 << 24 << 177 << 1;
    QTest::newRow("field near the end: lowered to the maximum") << 190 << 0 << 24 << 177 << 177;
    QTest::newRow("no field: the character") << 0 << 50 << 24 << 177 << 38;
    QTest::newRow("neither: position 1") << 0 << 0 << 24 << 177 << 1;
    QTest::newRow("line shorter than the strip") << 5 << 6 << 24 << -13 << 1;
    QTest::newRow("odd cells, half down to even") << 40 << 0 << 25 << 177 << 28;  // 27.5
    QTest::newRow("odd cells, half up to even") << 39 << 0 << 25 << 177 << 26;    // 26.5
}

void FieldLocatorTest::centresTheFieldOrCharacter() {
    QFETCH(int, fieldStart);
    QFETCH(int, character);
    QFETCH(int, cells);
    QFETCH(int, maximum);
    QFETCH(int, position);
    QCOMPARE(ScrollPosition({fieldStart, fieldStart > 0 ? 7 : 0}, character, cells, maximum),
             position);
}

void FieldLocatorTest::marksCharacterBeforeField_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("mark");
    // The field covers positions 10..13, the character is at 12.
    QTest::newRow("before the field") << 9 << static_cast<int>(CellMark::Plain);
    QTest::newRow("field start") << 10 << static_cast<int>(CellMark::Field);
    QTest::newRow("the character inside the field") << 12 << static_cast<int>(CellMark::Character);
    QTest::newRow("field end") << 13 << static_cast<int>(CellMark::Field);
    QTest::newRow("after the field") << 14 << static_cast<int>(CellMark::Plain);
}

void FieldLocatorTest::marksCharacterBeforeField() {
    QFETCH(int, position);
    QFETCH(int, mark);
    QCOMPARE(static_cast<int>(MarkOf(position, 12, {10, 4})), mark);
    // Without a field only the character is marked.
    QCOMPARE(MarkOf(position, 12, {}), position == 12 ? CellMark::Character : CellMark::Plain);
}

void FieldLocatorTest::cutsTheRecordIntoItsFields() {
    const RecordLayout* dose = LayoutOfType(layouts_, "D");
    QVERIFY(dose != nullptr);
    const std::vector<GridRow> rows = FieldGridRows(dose, "AB  x Yz   Q");
    QCOMPARE(rows.size(), std::size_t{3});
    QCOMPARE(rows[0], (GridRow{"Ident", "AB"}));
    QCOMPARE(rows[1], (GridRow{"Name", "x Yz"}));
    QCOMPARE(rows[2], (GridRow{"Code", "Q"}));
    // A record that ends early leaves the missing fields empty.
    const std::vector<GridRow> shortRows = FieldGridRows(dose, " A");
    QCOMPARE(shortRows[0].value, std::string("A"));
    QCOMPARE(shortRows[1].value, std::string());
    QCOMPARE(shortRows[2].value, std::string());
}

void FieldLocatorTest::listsNoFieldsWithoutALayout() {
    QVERIFY(LayoutOfType(layouts_, "X") == nullptr);
    QVERIFY(FieldGridRows(nullptr, "anything").empty());
}

void FieldLocatorTest::selectsAndScrollsTheGrid_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("firstVisible");
    QTest::newRow("column 1 selects nothing") << 1 << 21 << 8 << -1 << -1;
    QTest::newRow("column 2: shown with the row above") << 2 << 21 << 8 << 1 << 0;
    QTest::newRow("middle: the row above on top") << 10 << 21 << 8 << 9 << 8;
    QTest::newRow("first row of the last page") << 13 << 21 << 8 << 12 << 11;
    QTest::newRow("on the last page") << 14 << 21 << 8 << 13 << 13;
    QTest::newRow("last row: the last page") << 21 << 21 << 8 << 20 << 13;
    QTest::newRow("above the rows") << 22 << 21 << 8 << -1 << -1;
    QTest::newRow("column 0") << 0 << 21 << 8 << -1 << -1;
    QTest::newRow("all rows fit: no scrolling") << 3 << 5 << 8 << 2 << -1;
    QTest::newRow("rows exactly fill the grid") << 3 << 8 << 8 << 2 << 0;
}

void FieldLocatorTest::selectsAndScrollsTheGrid() {
    QFETCH(int, column);
    QFETCH(int, rows);
    QFETCH(int, visible);
    QFETCH(int, selected);
    QFETCH(int, firstVisible);
    const GridPlacement placement = PlaceGridSelection(column, rows, visible);
    QCOMPARE(placement.selectedRow, selected);
    QCOMPARE(placement.firstVisibleRow, firstVisible);
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::FieldLocatorTest)
#include "field_locator_test.moc"
