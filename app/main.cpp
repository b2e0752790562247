#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMetaObject>
#include <QStyleFactory>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "run/clock.h"
#include "run/process_setup.h"
#include "talveron/version.h"
#include "ui/command_line.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/main_window.h"

// The way from the program's folder to the help documents, one object in the program's data (not
// folded into code by the optimiser) so that the install check can read it.
extern const char kHelpFromProgram[];
const char kHelpFromProgram[] = TALVERON_HELP_FROM_PROGRAM;

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
    talveron::PrepareProcessForOutputs();
    using talveron::DesktopCommand;
    // --help and --version answer before any window system is needed.
    const DesktopCommand early = talveron::ParseDesktopCommandLine(Arguments(argc, argv));
    if (early.action == DesktopCommand::Action::Help) {
        std::cout << talveron::DesktopUsage();
        return 0;
    }
    if (early.action == DesktopCommand::Action::Version) {
        std::cout << "talveron " << talveron::kVersion << '\n';
        return 0;
    }

    QApplication application(argc, argv);  // takes Qt's own options out of argv
    const DesktopCommand command = talveron::ParseDesktopCommandLine(Arguments(argc, argv));
    if (command.action == DesktopCommand::Action::UsageError) {
        std::cerr << "talveron: " << command.error
                  << "\nTry 'talveron --help' for more information.\n";
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Talveron"));
    // The taskbar and Wayland compositors match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("talveron"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("talveron")));
    // One look on every desktop: the windows are laid out for it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    talveron::WidgetDialogs dialogs;
    talveron::DesktopOpener opener;
    const talveron::SystemClock clock;
    // The help documents sit where the installation put them beside the program, under whatever
    // prefix it was installed to; the build tree mirrors that.
    const std::filesystem::path helpDirectory =
        (std::filesystem::path(QApplication::applicationDirPath().toStdString()) / kHelpFromProgram)
            .lexically_normal();
    const auto environment = [](const char* name) { return std::getenv(name); };
    talveron::MainWindow window({dialogs, opener, clock,
                                 talveron::ConfigurationDirectory(environment), helpDirectory,
                                 talveron::StateDirectory(environment)});
    window.show();
    if (!command.loadFile.empty()) {
        const QString loadPath =
            QFileInfo(QString::fromStdString(command.loadFile)).absoluteFilePath();
        QMetaObject::invokeMethod(
            &window, [&window, loadPath] { window.validateFile(loadPath); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
