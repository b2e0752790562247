#include "ui/recent_files.h"

#include <QTest>

#include "support/test_support.h"

namespace talveron {

namespace fs = std::filesystem;

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void keepsTheLastEightNewestFirst() {
        const testing::TemporaryDirectory temp;
        const fs::path settings = temp.path() / "settings.ini";
        testing::WriteBytes(settings, "; mine\n[Window]\nWidth=640\n");
        RecentFiles recent(settings);
        for (const char* file : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "3", " a b ", "\n"}) {
            recent.add(fs::path("/data") / file);  // a line break cannot be kept in the file
        }
        const std::vector<fs::path> expected{"/data/ a b ", "/data/3", "/data/9", "/data/8",
                                             "/data/7",     "/data/6", "/data/5", "/data/4"};
        QCOMPARE(recent.files(), expected);
        QCOMPARE(RecentFiles(settings).files(), expected);  // kept, blanks and all
        std::ostringstream text;
        text << std::ifstream(settings, std::ios::binary).rdbuf();
        QVERIFY(
            text.str().starts_with("; mine\n[Window]\nWidth=640\n[RecentFiles]\n1=/data/ a b \n"));
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::RecentFilesTest)
#include "recent_files_test.moc"
