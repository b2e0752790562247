#pragma once

#include <QMainWindow>

#include <filesystem>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "run/clock.h"
#include "ui/configuration_file.h"
#include "ui/run_controller.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace talveron {

class Dialogs;
class ExternalOpener;
class NoticeLine;
class RunPanels;

/// What the main window works with, passed in so that tests can answer every dialog.
struct MainWindowServices {
    Dialogs& dialogs;
    ExternalOpener& opener;
    const Clock& clock;
    std::filesystem::path configurationDirectory;        ///< where TALVERON.CFG is read and written
    std::vector<std::filesystem::path> helpDirectories;  ///< searched in order for help documents
};

/// The main window "Talveron": VALIDATE / CANCEL and VIEW RESULTS, the panels a run keeps up to
/// date, the menus, help and About. It wires the run controller, the configuration file and the
/// other windows together; the run itself and every rule live elsewhere.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    /// Reads the configuration; an unusable one is reported and VALIDATE and VIEW RESULTS are
    /// disabled.
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// VALIDATE (button Command1 and File > Validate): starts a run, or cancels the one going.
    void validate();
    /// VIEW RESULTS (button Command2 and File > View Results).
    void viewResults();

private:
    void buildMenus();
    QWidget* buildCentre();
    void connectController();
    bool chooseLoadFile(std::filesystem::path& loadPath);
    void enterRunningState();
    void leaveRunningState();
    void closeRun(const RunOutcome& outcome);
    void showResultsViewer(const std::filesystem::path& resultsPath);
    void openReport(const std::filesystem::path& reportPath);
    void showOptions();
    void showAbout();
    void openHelp(std::string_view document);

    MainWindowServices services_;
    ConfigurationFile configuration_;
    OptionSettings runOptions_;  // the options the current or last run started with
    RunController controller_;
    QString loadPath_;

    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* validateAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QLabel* loadFile_ = nullptr;
    RunPanels* panels_ = nullptr;
    QGroupBox* informationFrame_ = nullptr;
    QLineEdit* information_ = nullptr;
    QPushButton* validateButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QStackedWidget* bottomLine_ = nullptr;
    NoticeLine* notice_ = nullptr;
    QLineEdit* currentLine_ = nullptr;
};

}  // namespace talveron
