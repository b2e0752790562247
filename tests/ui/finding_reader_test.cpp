#include "ui/finding_reader.h"

#include <QTest>

namespace talveron {

using namespace Qt::StringLiterals;

// How each key of a section is read is shown by the cases in tests/data/ui/results-files.
class FindingReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsNumbersHalfToEvenAsWideAsTheyAreWritten_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");  // Col and Char hold 32 bits, Line and Count 64
        QTest::newRow("half down to even") << u"2.5"_s << u"2|2|2|2"_s;
        QTest::newRow("half up to even") << u"3.5"_s << u"4|4|4|4"_s;
        QTest::newRow("leading number") << u"12abc"_s << u"12|12|12|12"_s;
        QTest::newRow("no number") << u"abc"_s << u"0|0|0|0"_s;
        QTest::newRow("negative") << u"-3"_s << u"-3|-3|-3|-3"_s;
        QTest::newRow("beyond 16 bits") << u"40000"_s << u"40000|40000|40000|40000"_s;
        QTest::newRow("beyond 32 bits")
            << u"5000000000"_s << u"5000000000|2147483647|2147483647|5000000000"_s;
    }

    void readsNumbersHalfToEvenAsWideAsTheyAreWritten() {
        QFETCH(QString, written);
        QFETCH(QString, read);
        const std::string value = written.toStdString() + "\r\n";
        const IniDocument results("[1]\r\nCol=" + value + "Char=" + value + "Line=" + value +
                                  "[error]\r\ncount=" + value);
        const ResultsFinding finding = ReadFinding(results, 1);
        QCOMPARE(u"%1|%2|%3|%4"_s.arg(finding.line)
                     .arg(finding.column)
                     .arg(finding.character)
                     .arg(ReadFindingCount(results)),
                 read);
    }

    void showsLevelsStartingWithEAsErrors() {
        const auto error = [](const std::string& level) {
            return ReadFinding(IniDocument("[1]\r\nLevel=" + level + "\r\n"), 1).errorLevel();
        };
        QVERIFY(error("ERROR"));
        QVERIFY(error("Exceeded"));  // any level that starts with E
        QVERIFY(!error("WARNING"));
        QVERIFY(!error("error"));  // the letter case counts
        QVERIFY(!error(""));       // missing: read as "0"
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::FindingReaderTest)
#include "finding_reader_test.moc"
