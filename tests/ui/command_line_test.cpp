#include "ui/command_line.h"

#include <QTest>

#include <vector>

namespace talveron {

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheDesktopCommandLine() {
        using enum DesktopCommand::Action;
        using Words = std::vector<std::string>;
        const std::tuple<Words, DesktopCommand::Action, std::string, std::string> cases[] = {
            {{}, Open, "", ""},
            {{"load.dat"}, Open, "load.dat", ""},
            {{"--", "--help"}, Open, "--help", ""},
            {{"-"}, Open, "-", ""},
            {{"load.dat", "-h", "--version"}, Help, "", ""},  // wherever it stands
            {{"--bogus", "--version"}, Version, "", ""},      // whatever else is there
            {{"--bogus", "load.dat"}, UsageError, "load.dat", "unknown option '--bogus'"},
            {{"a.dat", "b.dat"},
             UsageError,
             "a.dat",
             "one load file at a time: 'b.dat' is one too many"},
        };
        for (const auto& [words, action, loadFile, error] : cases) {
            const DesktopCommand command = ParseDesktopCommandLine(words);
            QVERIFY2(command.action == action, error.c_str());
            QCOMPARE(command.loadFile, loadFile);
            QCOMPARE(command.error, error);
        }
    }
};

}  // namespace talveron

QTEST_APPLESS_MAIN(talveron::CommandLineTest)
#include "command_line_test.moc"
