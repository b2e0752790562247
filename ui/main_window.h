#pragma once

#include <QMainWindow>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "config/option_settings.h"
#include "run/clock.h"
#include "ui/configuration_file.h"
#include "ui/finding_history.h"
#include "ui/recent_files.h"
#include "ui/run_controller.h"
#include "ui/run_findings.h"

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
    std::filesystem::path configurationDirectory;  ///< TALVERON.CFG and the program's settings
    std::filesystem::path helpDirectory;           ///< where the help documents are
    /// Where the findings of the last run of each load file are kept; empty: nowhere.
    std::filesystem::path stateDirectory;
    /// How often the panels show how a run is going.
    std::chrono::milliseconds refreshInterval = kRunRefreshInterval;
};

/// The main window "Talveron": VALIDATE / CANCEL and VIEW RESULTS, the panels a run keeps up to
/// date, what changed since the last run of the file, the menus with the recent load files, the
/// HTML report of the last run, help and About. A load file can also be dropped on it. It wires the
/// run controller, the configuration file and the other windows together; the run itself and every
/// rule live elsewhere.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    /// Reads the configuration. A missing one can be installed from the shipped configuration
    /// at once; without a usable one VALIDATE and VIEW RESULTS are disabled.
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// VALIDATE (button Command1 and File > Validate): starts a run on the load file the operator
    /// picks, or cancels the run going.
    void validate();
    /// Starts a run on that load file as VALIDATE does once a file is picked (a file named on the
    /// command line, dropped on the window or chosen from the recent files); requires that no run
    /// is going and the configuration is usable, else does nothing.
    void validateFile(const QString& loadPath);
    /// VIEW RESULTS (button Command2 and File > View Results).
    void viewResults();
    /// File > Save HTML Report: the report of the last run, where the operator chooses, with
    /// personal data masked unless the operator says otherwise; then opened in the browser.
    void saveHtmlReport();

protected:
    /// During a run: asks whether to cancel it and quit, and quits once the run has ended.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    QWidget* buildCentre();
    void connectController();
    void loadConfiguration();
    bool canStartRun() const;
    void resetInformation();
    void startRun(const QString& loadPath);
    void showLoadPath();
    void setRunControls(bool running);
    void fillRecentFiles();
    void closeRun(const RunOutcome& outcome);
    /// Says what changed since the file's last run, and keeps this run's findings for the next.
    void compareWithLastRun();
    void showResultsViewer(const std::filesystem::path& resultsPath);
    void showReport(const std::filesystem::path& reportPath);
    void showOptions();
    void showAbout();
    /// The configuration check's window, made on first use, checking the file again.
    void showConfigurationCheck();
    void showHelp(std::string_view document, QWidget* owner);

    MainWindowServices services_;
    ConfigurationFile configuration_;
    RecentFiles recentFiles_;
    OptionSettings runOptions_;  // the options the current or last run started with
    RunController controller_;
    FindingHistory history_;
    QString loadPath_;
    /// The run that ended last, for its HTML report and the new findings of its results file.
    struct LastRun {
        RunOutcome outcome;
        std::unique_ptr<RunFindings> findings;
        LocalDateTime started;
    };
    std::optional<LastRun> lastRun_;
    LocalDateTime runStarted_;
    bool quitWhenRunEnds_ = false;

    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* validateAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* saveHtmlAction_ = nullptr;
    QAction* recentEnd_ = nullptr;
    std::vector<QAction*> recentActions_;
    QLabel* loadFile_ = nullptr;
    RunPanels* panels_ = nullptr;
    QGroupBox* informationFrame_ = nullptr;
    QLineEdit* information_ = nullptr;
    QPushButton* validateButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QLabel* sinceLastRun_ = nullptr;
    QStackedWidget* bottomLine_ = nullptr;
    NoticeLine* notice_ = nullptr;
    QLineEdit* currentLine_ = nullptr;
};

}  // namespace talveron
