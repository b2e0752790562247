#include "ui/results_print.h"

#include <QTest>

namespace talveron {

class ResultsPrintTest : public QObject {
    Q_OBJECT

private slots:
    void rewritesShortKeys_data();
    void rewritesShortKeys();
};

void ResultsPrintTest::rewritesShortKeys_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("printed");
    QTest::newRow("Line") << QStringLiteral("Line=12") << QStringLiteral("Line:  12");
    QTest::newRow("Msg") << QStringLiteral("Msg=Invalid Sex")
                         << QStringLiteral("Msg:   Invalid Sex");
    QTest::newRow("COUNT") << QStringLiteral("COUNT=5") << QStringLiteral("COUNT: 5");
    QTest::newRow("Level, = at 6")
        << QStringLiteral("Level=WARNING") << QStringLiteral("Level: WARNING");
    QTest::newRow("= at 1") << QStringLiteral("=x") << QStringLiteral(":      x");
    QTest::newRow("first = counts")
        << QStringLiteral("Data=A=B  ") << QStringLiteral("Data:  A=B  ");
    QTest::newRow("= at 7 stays") << QStringLiteral("Abcdef=x") << QStringLiteral("Abcdef=x");
    QTest::newRow("section header stays") << QStringLiteral("[12]") << QStringLiteral("[12]");
    QTest::newRow("blank line stays") << QString() << QString();
    QTest::newRow("empty value") << QStringLiteral("Type=") << QStringLiteral("Type:  ");
}

void ResultsPrintTest::rewritesShortKeys() {
    QFETCH(QString, line);
    QFETCH(QString, printed);
    QCOMPARE(QString::fromStdString(PrintedResultsLine(line.toStdString())), printed);
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::ResultsPrintTest)
#include "results_print_test.moc"
