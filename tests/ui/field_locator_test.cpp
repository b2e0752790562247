#include "ui/field_locator.h"

#include <QTest>

namespace talveron {

class FieldLocatorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Dose fields of widths 3, 5 and 2 start at 1, 5 and 11.
        layouts_ = LoadRecordLayouts(IniDocument(
            "[H]\n1=Licence\n2=Period\n[C]\n1=Ident\n2=Note\n[I]\n1=Ident\n[D]\n1=Ident\n2=Name\n"
            "3=Code\n[Licence]\nLen=4\n[Period]\nLen=6\n[Ident]\nLen=3\n[Name]\nLen=5\n[Code]\nLen="
            "2\n"
            "[Note]\nLen=8\n"));
        QVERIFY(layouts_.usable());
    }

    void locatesFieldsOfTheFourTypes() {
        QCOMPARE(LocateField(layouts_, "D", 3), (FieldSpan{11, 2}));  // the last field
        QCOMPARE(LocateField(layouts_, "H", 2), (FieldSpan{6, 6}));
        QCOMPARE(LocateField(layouts_, "C", 2), (FieldSpan{5, 8}));
        QCOMPARE(LocateField(layouts_, "I", 1), (FieldSpan{1, 3}));
        // Above the layout, before it, types in another case or of two letters: no field.
        for (const auto& [type, column] : {std::pair{"D", 4}, {"D", 0}, {"d", 1}, {"DD", 1}}) {
            QCOMPARE(LocateField(layouts_, type, column), FieldSpan{});
        }
    }

    void sizesTheStripToTheWindowAndTheLine() {
        // The cells that fit, less one at either side, rounded half to even.
        QCOMPARE(StripCellCount(488.0, 20.0), 22);  // 22.4
        QCOMPARE(StripCellCount(495.0, 20.0), 23);  // 22.75
        QCOMPARE(StripCellCount(490.0, 20.0), 22);  // 22.5
        QCOMPARE(StripCellCount(510.0, 20.0), 24);  // 23.5
        QCOMPARE(ScrollMaximum(200, 24), 177);      // positions 177..200 fill the 24 cells
        QCOMPARE(ScrollMaximum(24, 24), 1);
        QCOMPARE(ScrollMaximum(10, 24), -13);  // shorter than the strip
    }

    void centresTheFieldOrCharacter() {
        QCOMPARE(ScrollPosition({130, 7}, 20, 24, 177), 118);  // the field start wins
        QCOMPARE(ScrollPosition({1, 7}, 0, 24, 177), 1);       // 1 - 12 raised to 1
        QCOMPARE(ScrollPosition({190, 7}, 0, 24, 177), 177);   // lowered to the maximum
        QCOMPARE(ScrollPosition({}, 50, 24, 177), 38);         // no field: the character
        QCOMPARE(ScrollPosition({}, 0, 24, 177), 1);           // neither
        QCOMPARE(ScrollPosition({5, 7}, 6, 24, -13), 1);       // line shorter than the strip
        QCOMPARE(ScrollPosition({40, 7}, 0, 25, 177), 28);     // 27.5 down to even
        QCOMPARE(ScrollPosition({39, 7}, 0, 25, 177), 26);     // 26.5 up to even
    }

    void cutsTheRecordIntoItsFields() {
        const RecordLayout* dose = LayoutOfType(layouts_, "D");
        QVERIFY(dose != nullptr);
        QCOMPARE(FieldGridRows(dose, "AB  x Yz   Q"),
                 (std::vector<GridRow>{{"Ident", "AB"}, {"Name", "x Yz"}, {"Code", "Q"}}));
        // A record that ends early leaves the missing fields empty.
        QCOMPARE(FieldGridRows(dose, " A"),
                 (std::vector<GridRow>{{"Ident", "A"}, {"Name", ""}, {"Code", ""}}));
        QVERIFY(FieldGridRows(nullptr, "anything").empty());
    }

    void selectsAndScrollsTheGrid() {
        // 21 rows, 8 of them visible: the last page starts at row 13.
        QCOMPARE(PlaceGridSelection(1, 21, 8), GridPlacement{});  // the first field selects nothing
        QCOMPARE(PlaceGridSelection(0, 21, 8), GridPlacement{});
        QCOMPARE(PlaceGridSelection(2, 21, 8), (GridPlacement{1, 0}));  // with the row above
        QCOMPARE(PlaceGridSelection(13, 21, 8), (GridPlacement{12, 11}));
        QCOMPARE(PlaceGridSelection(14, 21, 8), (GridPlacement{13, 13}));  // on the last page
        QCOMPARE(PlaceGridSelection(21, 21, 8), (GridPlacement{20, 13}));
        QCOMPARE(PlaceGridSelection(22, 21, 8), GridPlacement{});       // above the rows
        QCOMPARE(PlaceGridSelection(3, 5, 8), (GridPlacement{2, -1}));  // all fit: no scrolling
        QCOMPARE(PlaceGridSelection(3, 8, 8), (GridPlacement{2, 0}));   // rows exactly fill it
    }

private:
    LayoutTable layouts_;
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::FieldLocatorTest)
#include "field_locator_test.moc"
