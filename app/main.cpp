#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include <cstdlib>
#include <filesystem>

#include "config/profile_file.h"
#include "run/clock.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/main_window.h"

// One object in the program's data, not folded into code by the optimiser, so that the install
// check can see which folder the program looks in for its help documents.
extern const char kInstalledHelpDirectory[];
const char kInstalledHelpDirectory[] = TALVERON_INSTALLED_HELP_DIR;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talveron"));
    // The taskbar and Wayland compositors match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("talveron"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("talveron")));
    // One look on every desktop: the windows are laid out for it.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    talveron::WidgetDialogs dialogs;
    talveron::DesktopOpener opener;
    const talveron::SystemClock clock;
    std::error_code error;
    talveron::MainWindow window(
        {dialogs,
         opener,
         clock,
         talveron::ConfigurationDirectory([](const char* name) { return std::getenv(name); }),
         {std::filesystem::current_path(error), kInstalledHelpDirectory,
          TALVERON_SOURCE_HELP_DIR}});
    window.show();
    return QApplication::exec();
}
