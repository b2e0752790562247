#include "ui/results_print.h"

#include <QTest>

namespace talveron {

using namespace Qt::StringLiterals;

class ResultsPrintTest : public QObject {
    Q_OBJECT

private slots:
    void rewritesShortKeys() {
        const auto printed = [](std::string_view line) {
            return QString::fromStdString(PrintedResultsLine(line));
        };
        QCOMPARE(printed("Line=12"), u"Line:  12"_s);
        QCOMPARE(printed("Msg=Invalid Sex"), u"Msg:   Invalid Sex"_s);
        QCOMPARE(printed("Level=WARNING"), u"Level: WARNING"_s);  // "=" at 6
        QCOMPARE(printed("=x"), u":      x"_s);
        QCOMPARE(printed("Data=A=B  "), u"Data:  A=B  "_s);  // the first "=" counts
        QCOMPARE(printed("Type="), u"Type:  "_s);
        // Everything else prints as it is.
        QCOMPARE(printed("Abcdef=x"), u"Abcdef=x"_s);
        QCOMPARE(printed("[12]"), u"[12]"_s);
        QCOMPARE(printed(""), QString());
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::ResultsPrintTest)
#include "results_print_test.moc"
