#include "ui/results_index.h"

#include <QDir>
#include <QTest>

#include <fstream>
#include <sstream>

#include "ui/finding_reader.h"
#include "ui/section_reader.h"

namespace talveron {

using namespace Qt::StringLiterals;

namespace {

const QString kCases = QStringLiteral(TALVERON_UI_TEST_DATA_DIR "/results-files");

std::string Contents(const QString& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path.toStdString(), std::ios::binary).rdbuf();
    return bytes.str();
}

}  // namespace

class ResultsIndexTest : public QObject {
    Q_OBJECT

private slots:
    // Each case X.err comes with X.findings: the total, then every finding from 0 to the total
    // + 1 as the viewer reads it, "number|line|column|character|message|record|type|level".
    void readsEveryFindingOfEachCase_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : QDir(kCases).entryList({u"*.err"_s})) {
            QTest::newRow(qPrintable(name)) << name.chopped(4);
        }
    }

    void readsEveryFindingOfEachCase() {
        QFETCH(QString, name);
        const std::string text = Contents(kCases + u'/' + name + u".err"_s);
        // Chunks and windows of a few bytes put every boundary inside a name, a line end or a key.
        for (const std::size_t chunk : {1, 2, 3, 7, 1 << 20}) {
            std::istringstream input(text);
            const std::optional<ResultsIndex> index = IndexResultsFile(input, {}, chunk);
            QVERIFY(index);
            SectionReader reader(input, chunk);
            std::string read = "total " + std::to_string(index->total()) + "\n";
            for (std::int64_t number = 0; number <= index->total() + 1; ++number) {
                const std::optional<std::uint64_t> offset = index->offsetOf(number);
                const ResultsFinding f = ReadFinding(
                    IniDocument(offset ? std::string(reader.section(*offset)) : ""), number);
                for (const std::string& member :
                     {std::to_string(number), std::to_string(f.line), std::to_string(f.column),
                      std::to_string(f.character), f.message, f.record, f.type}) {
                    read += member + '|';
                }
                read += f.level + '\n';
            }
            QCOMPARE(read, Contents(kCases + u'/' + name + u".findings"_s));
        }
    }

    void reportsProgressAndStopsWhenAsked() {
        std::string text;
        for (int number = 1; number <= 1000; ++number)
            text += "\r\n[" + std::to_string(number) + "]";
        std::istringstream input(text);
        std::vector<std::uint64_t> reached;
        QVERIFY(!IndexResultsFile(
            input,
            [&](std::uint64_t offset) {
                reached.push_back(offset);
                return reached.size() < 3;
            },
            1024));
        QCOMPARE(reached, (std::vector<std::uint64_t>{1024, 2048, 3072}));
    }

    void keepsOffsetsOfAnySizeAndOrder() {
        ResultsIndex index;
        index.add(3, 7);  // before its turn
        index.add(1, 5'000'000'000);
        index.add(2, 100);  // before its block's base
        index.add(4, 5'000'000'000 + 0xFFFFFFFFull);
        index.add(1, 9);
        QCOMPARE(index.total(), 4);
        for (const auto& [number, offset] : std::vector<std::pair<std::int64_t, std::uint64_t>>{
                 {1, 5'000'000'000}, {2, 100}, {3, 7}, {4, 5'000'000'000 + 0xFFFFFFFFull}}) {
            QCOMPARE(index.offsetOf(number), std::optional<std::uint64_t>(offset));
        }
        QCOMPARE(index.offsetOf(5), std::nullopt);
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::ResultsIndexTest)
#include "results_index_test.moc"
