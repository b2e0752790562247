#pragma once

#include <QDialog>

#include <filesystem>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace talveron {

class Dialogs;
class ExternalOpener;

/// "Check Configuration": every problem of the configuration file that the command-line check
/// reports, one row each with its line, its level and what is wrong, below a line that names the
/// file and counts them and above the whole text of the row selected (a row shows what fits). Check
/// Again reads the file again after it has been edited; "Open in editor" is there when the desktop
/// has an opener. The window stays open beside the others.
class ConfigurationCheckWindow final : public QDialog {
    Q_OBJECT

public:
    ConfigurationCheckWindow(std::filesystem::path path, Dialogs& dialogs, ExternalOpener& opener,
                             QWidget* parent = nullptr);

    /// Reads and checks the file and shows the outcome, in front.
    void check();

private:
    void openInEditor();

    std::filesystem::path path_;
    Dialogs& dialogs_;
    ExternalOpener& opener_;
    QLabel* summary_;
    QTreeWidget* problems_;
    QLabel* selected_;
};

}  // namespace talveron
