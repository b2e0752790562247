#include "ui/finding_reader.h"

#include <QTest>

namespace talveron {

using namespace Qt::StringLiterals;

namespace {

ResultsFinding Read(const std::string& results, int number = 1) {
    return ReadFinding(IniDocument(results), number);
}

// Every member, "|"-separated: line, column, character, message, record, type, level, total.
QString Members(const ResultsFinding& f) {
    return u"%1|%2|%3|%4|%5|%6|%7|%8"_s.arg(f.line)
        .arg(f.column)
        .arg(f.character)
        .arg(QString::fromStdString(f.message), QString::fromStdString(f.record),
             QString::fromStdString(f.type), QString::fromStdString(f.level),
             QString::number(f.total));
}

}  // namespace

class FindingReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsEveryKeyOfTheNumberedSection() {
        QCOMPARE(Members(Read("\r\n[1]\r\nLine=2\r\nCol=3\r\nChar=4\r\nMsg=first\r\nData=AAA\r\n"
                              "Type=D\r\nLevel=ERROR\r\n\r\n[2]\r\nLine=7\r\nCol=16\r\nChar=130\r\n"
                              "Msg=second\r\nData=BBB\r\nType=I\r\nLevel=WARNING\r\n"
                              "[ERROR]\r\nCount=2\r\n",
                              2)),
                 u"7|16|130|second|BBB|I|WARNING|2"_s);
        QCOMPARE(Members(Read("[1]\r\nLine=3\r\n", 4)), u"0|0|0|0|0|0|0|0"_s);  // all missing
    }

    void takesDataAndMsgExactlyAsWritten() {
        // A record that starts with blanks or a quote must keep its positions; the profile
        // reading would drop the blanks and a pair of enclosing quotes.
        QCOMPARE(Members(Read("[1]\r\nLine=5\r\nMsg= 'quoted' \r\nData=   \"ABC\" x  \r\n")),
                 u"5|0|0| 'quoted' |   \"ABC\" x  |0|0|0"_s);
        // An empty line of the load file is a record like any other.
        QCOMPARE(Members(Read("[1]\r\nLine=9\r\nData=\r\nMsg=\r\n")), u"9|0|0|||0|0|0"_s);
    }

    void readsTheCountWhateverItsLetterCase() {
        QCOMPARE(Read("[1]\r\nLine=2\r\n[ERROR]\r\nCOUNT=17\r\n").total, 17);
        QCOMPARE(Read("[1]\r\nLine=2\r\n[error]\r\ncount=5\r\n").total, 5);
    }

    void takesLineOneAsAHeader() {
        QCOMPARE(Read("[1]\r\nLine=1\r\nType=D\r\n").type, std::string("H"));
        QCOMPARE(Read("[1]\r\nLine=2\r\nType=D\r\n").type, std::string("D"));
        QCOMPARE(Read("[1]\r\nLine=2\r\nType=\r\n").type, std::string("0"));
    }

    void readsNumbersHalfToEvenWithinTheirRange_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");  // Col, Char and Count hold 16 bits, Line 32
        QTest::newRow("half down to even") << u"2.5"_s << u"2|2|2|2"_s;
        QTest::newRow("half up to even") << u"3.5"_s << u"4|4|4|4"_s;
        QTest::newRow("leading number") << u"12abc"_s << u"12|12|12|12"_s;
        QTest::newRow("no number") << u"abc"_s << u"0|0|0|0"_s;
        QTest::newRow("negative") << u"-3"_s << u"-3|-3|-3|-3"_s;
        QTest::newRow("beyond 16 bits") << u"40000"_s << u"40000|32767|32767|32767"_s;
    }

    void readsNumbersHalfToEvenWithinTheirRange() {
        QFETCH(QString, written);
        QFETCH(QString, read);
        const std::string value = written.toStdString() + "\r\n";
        const ResultsFinding finding = Read("[1]\r\nCol=" + value + "Char=" + value +
                                            "Line=" + value + "[ERROR]\r\nCount=" + value);
        QCOMPARE(u"%1|%2|%3|%4"_s.arg(finding.line)
                     .arg(finding.column)
                     .arg(finding.character)
                     .arg(finding.total),
                 read);
    }

    void showsLevelsStartingWithEAsErrors() {
        const auto error = [](const std::string& level) {
            return Read("[1]\r\nLevel=" + level + "\r\n").errorLevel();
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
