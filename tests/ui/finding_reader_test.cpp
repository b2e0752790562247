#include "ui/finding_reader.h"

#include <QTest>

namespace talveron {

class FindingReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsEveryKeyOfTheNumberedSection();
    void takesDataAndMsgExactlyAsWritten();
    void readsMissingKeysAsZero();
    void readsAnEmptyRecordAsEmpty();
    void readsTheCountWhateverItsLetterCase_data();
    void readsTheCountWhateverItsLetterCase();
    void takesLineOneAsAHeader();
    void roundsNumbersHalfToEven_data();
    void roundsNumbersHalfToEven();
    void showsLevelsStartingWithEAsErrors_data();
    void showsLevelsStartingWithEAsErrors();
};

namespace {

IniDocument Results(const char* text) { return IniDocument(text); }

}  // namespace

void FindingReaderTest::readsEveryKeyOfTheNumberedSection() {
    const IniDocument results = Results(
        "\r\n[1]\r\nLine=2\r\nCol=3\r\nChar=4\r\nMsg=first\r\nData=AAA\r\nType=D\r\nLevel=ERROR\r\n"
        "\r\n[2]\r\nLine=7\r\nCol=16\r\nChar=130\r\nMsg=second\r\nData=BBB\r\nType=I\r\n"
        "Level=WARNING\r\n[ERROR]\r\nCount=2\r\n");
    const ResultsFinding finding = ReadFinding(results, 2);
    QCOMPARE(finding.line, 7);
    QCOMPARE(finding.column, 16);
    QCOMPARE(finding.character, 130);
    QCOMPARE(finding.message, std::string("second"));
    QCOMPARE(finding.record, std::string("BBB"));
    QCOMPARE(finding.type, std::string("I"));
    QCOMPARE(finding.level, std::string("WARNING"));
    QCOMPARE(finding.total, 2);
}

void FindingReaderTest::takesDataAndMsgExactlyAsWritten() {
    // A record that starts with blanks or a quote must keep its positions; the profile reading
    // would drop the blanks and a pair of enclosing quotes.
    const IniDocument results =
        Results("[1]\r\nLine=5\r\nMsg= 'quoted' \r\nData=   \"ABC\" x  \r\nType=C\r\n");
    const ResultsFinding finding = ReadFinding(results, 1);
    QCOMPARE(finding.record, std::string("   \"ABC\" x  "));
    QCOMPARE(finding.message, std::string(" 'quoted' "));
    QCOMPARE(ReadProfileValue(results, "1", "Data", "0"), std::string("\"ABC\" x"));
}

void FindingReaderTest::readsMissingKeysAsZero() {
    const ResultsFinding finding = ReadFinding(Results("[1]\r\nLine=3\r\n"), 4);
    QCOMPARE(finding.line, 0);
    QCOMPARE(finding.column, 0);
    QCOMPARE(finding.character, 0);
    QCOMPARE(finding.message, std::string("0"));
    QCOMPARE(finding.record, std::string("0"));
    QCOMPARE(finding.type, std::string("0"));
    QCOMPARE(finding.level, std::string("0"));
    QCOMPARE(finding.total, 0);
}

void FindingReaderTest::readsAnEmptyRecordAsEmpty() {
    // An empty line of the load file is a record like any other.
    const ResultsFinding finding = ReadFinding(Results("[1]\r\nLine=9\r\nData=\r\nMsg=\r\n"), 1);
    QCOMPARE(finding.record, std::string());
    QCOMPARE(finding.message, std::string());
}

void FindingReaderTest::readsTheCountWhateverItsLetterCase_data() {
    QTest::addColumn<QString>("trailer");
    QTest::addColumn<int>("total");
    QTest::newRow("as the run writes it") << QStringLiteral("[ERROR]\r\nCount=17\r\n") << 17;
    QTest::newRow("upper case") << QStringLiteral("[ERROR]\r\nCOUNT=17\r\n") << 17;
    QTest::newRow("lower-case section") << QStringLiteral("[error]\r\ncount=5\r\n") << 5;
    QTest::newRow("no trailer") << QString() << 0;
    QTest::newRow("beyond 16 bits") << QStringLiteral("[ERROR]\r\nCount=40000\r\n") << 32767;
}

void FindingReaderTest::readsTheCountWhateverItsLetterCase() {
    QFETCH(QString, trailer);
    QFETCH(int, total);
    const IniDocument results("[1]\r\nLine=2\r\n" + trailer.toStdString());
    QCOMPARE(int{ReadFinding(results, 1).total}, total);
}

void FindingReaderTest::takesLineOneAsAHeader() {
    QCOMPARE(ReadFinding(Results("[1]\r\nLine=1\r\nType=D\r\n"), 1).type, std::string("H"));
    QCOMPARE(ReadFinding(Results("[1]\r\nLine=2\r\nType=D\r\n"), 1).type, std::string("D"));
    QCOMPARE(ReadFinding(Results("[1]\r\nLine=2\r\nType=\r\n"), 1).type, std::string("0"));
}

void FindingReaderTest::roundsNumbersHalfToEven_data() {
    QTest::addColumn<QString>("col");
    QTest::addColumn<int>("column");
    QTest::newRow("whole") << QStringLiteral("12") << 12;
    QTest::newRow("half down to even") << QStringLiteral("2.5") << 2;
    QTest::newRow("half up to even") << QStringLiteral("3.5") << 4;
    QTest::newRow("leading number") << QStringLiteral("12abc") << 12;
    QTest::newRow("no number") << QStringLiteral("abc") << 0;
    QTest::newRow("negative") << QStringLiteral("-3") << -3;
}

void FindingReaderTest::roundsNumbersHalfToEven() {
    QFETCH(QString, col);
    QFETCH(int, column);
    const IniDocument results("[1]\r\nCol=" + col.toStdString() + "\r\nChar=" + col.toStdString() +
                              "\r\nLine=" + col.toStdString() + "\r\n");
    const ResultsFinding finding = ReadFinding(results, 1);
    QCOMPARE(int{finding.column}, column);
    QCOMPARE(int{finding.character}, column);
    QCOMPARE(finding.line, column);
}

void FindingReaderTest::showsLevelsStartingWithEAsErrors_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("error");
    QTest::newRow("ERROR") << QStringLiteral("ERROR") << true;
    QTest::newRow("any E") << QStringLiteral("Exceeded") << true;
    QTest::newRow("WARNING") << QStringLiteral("WARNING") << false;
    QTest::newRow("lower-case e") << QStringLiteral("error") << false;
    QTest::newRow("missing") << QString() << false;
}

void FindingReaderTest::showsLevelsStartingWithEAsErrors() {
    QFETCH(QString, level);
    QFETCH(bool, error);
    const std::string section = "[1]\r\nLevel=" + level.toStdString() + "\r\n";
    QCOMPARE(ReadFinding(IniDocument(section), 1).errorLevel(), error);
}

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::FindingReaderTest)
#include "finding_reader_test.moc"
