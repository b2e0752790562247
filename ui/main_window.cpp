#include "ui/main_window.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/profile_file.h"
#include "ui/about_box.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/help_documents.h"
#include "ui/notice_line.h"
#include "ui/operator_message.h"
#include "ui/options_dialog.h"
#include "ui/results_viewer.h"
#include "ui/run_closing.h"
#include "ui/run_panels.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

constexpr int kInnerWidth = style::Px(7500);
constexpr int kInnerHeight = style::Px(6045);

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString DirectoryOf(const QString& path) {
    return path.isEmpty() ? QString()
                          : QString::fromStdString(
                                std::filesystem::path(path.toStdString()).parent_path().string());
}

QPushButton* CommandButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFixedHeight(style::Px(495));
    return button;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      configuration_(services_.configurationDirectory / kConfigurationFileName),
      controller_(services_.clock, this) {
    setObjectName(QStringLiteral("f"));
    setWindowTitle(Text(kProgramTitle));
    style::ApplyWindowLook(*this);
    buildMenus();
    setCentralWidget(buildCentre());
    setFixedSize(kInnerWidth, kInnerHeight + menuBar()->sizeHint().height());
    connectController();

    if (!configuration_.load()) {
        services_.dialogs.showMessage(
            this, ConfigurationInvalidMessage(configuration_.path(), configuration_.problem()));
        // The menu items stand for the buttons, so they go with them.
        validateButton_->setEnabled(false);
        viewButton_->setEnabled(false);
        validateAction_->setEnabled(false);
        viewAction_->setEnabled(false);
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, const QString& name, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto separator = [](QMenu* menu, const QString& name) {
        menu->addSeparator()->setObjectName(name);
    };
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("mnu_file"));
    validateAction_ = add(fileMenu_, QStringLiteral("&Validate"), QStringLiteral("mnu_validate"),
                          [this] { validate(); });
    viewAction_ = add(fileMenu_, QStringLiteral("View &Results"),
                      QStringLiteral("mnu_view_results"), [this] { viewResults(); });
    separator(fileMenu_, QStringLiteral("mnu_dash"));
    add(fileMenu_, QStringLiteral("&Exit"), QStringLiteral("mnu_exit"), [this] { close(); });

    optionsMenu_ = menuBar()->addMenu(QStringLiteral("&Options"));
    optionsMenu_->setObjectName(QStringLiteral("mnu_options"));
    add(optionsMenu_, QStringLiteral("&Settings..."), QStringLiteral("mnu_auto_cancel"),
        [this] { showOptions(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnu_help"));
    add(help, QStringLiteral("&Users Guide..."), QStringLiteral("mnu_help_users_guide"),
        [this] { openHelp(kUsersGuideDocument); });
    add(help, QStringLiteral("&Reference..."), QStringLiteral("mnu_help_reference"),
        [this] { openHelp(kReferenceDocument); });
    add(help, QStringLiteral("&Administrative..."), QStringLiteral("mnu_help_administrative"),
        [this] { openHelp(kAdministrativeDocument); });
    separator(help, QStringLiteral("mnu_split2"));
    add(help, QStringLiteral("A&bout"), QStringLiteral("mnu_help_about"), [this] { showAbout(); });
}

QWidget* MainWindow::buildCentre() {
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(style::Px(120), style::Px(60), style::Px(120), 0);
    layout->setSpacing(style::Px(60));

    auto* fileFrame = new QGroupBox(QStringLiteral("Selected File:"), centre);
    fileFrame->setObjectName(QStringLiteral("Frame3D1"));
    loadFile_ = new QLabel(fileFrame);
    loadFile_->setObjectName(QStringLiteral("loadfile"));
    loadFile_->setAlignment(Qt::AlignCenter);
    loadFile_->setFont(style::SerifFont(9));
    loadFile_->setTextFormat(Qt::PlainText);
    loadFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    loadFile_->setFixedHeight(style::Px(330));
    style::SetColours(*loadFile_, style::kBlue, palette().color(QPalette::Base));
    (new QVBoxLayout(fileFrame))->addWidget(loadFile_);
    layout->addWidget(fileFrame);

    panels_ = new RunPanels(centre);
    layout->addWidget(panels_);

    informationFrame_ = new QGroupBox(QStringLiteral("Information"), centre);
    informationFrame_->setObjectName(QStringLiteral("Frame3D3"));
    information_ = new QLineEdit(informationFrame_);
    information_->setObjectName(QStringLiteral("info"));
    information_->setReadOnly(true);
    information_->setFrame(false);
    information_->setFocusPolicy(Qt::NoFocus);
    information_->setFont(style::SerifFont(7.5));
    style::SetColours(*information_, style::kBlue, style::kWindowGrey);
    (new QVBoxLayout(informationFrame_))->addWidget(information_);
    layout->addWidget(informationFrame_);

    auto* buttons = new QHBoxLayout;
    validateButton_ = CommandButton(QStringLiteral("VALIDATE"), QStringLiteral("Command1"), centre);
    viewButton_ = CommandButton(QStringLiteral("VIEW RESULTS"), QStringLiteral("Command2"), centre);
    connect(validateButton_, &QPushButton::clicked, this, &MainWindow::validate);
    connect(viewButton_, &QPushButton::clicked, this, &MainWindow::viewResults);
    buttons->addWidget(validateButton_);
    buttons->addWidget(viewButton_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    bottomLine_ = new QStackedWidget(centre);
    notice_ = new NoticeLine(bottomLine_);
    currentLine_ = new QLineEdit(bottomLine_);
    currentLine_->setObjectName(QStringLiteral("Text1"));
    currentLine_->setReadOnly(true);
    currentLine_->setFocusPolicy(Qt::NoFocus);
    QFont lineFont = style::FixedFont(8);
    lineFont.setBold(false);
    currentLine_->setFont(lineFont);
    bottomLine_->addWidget(notice_);
    bottomLine_->addWidget(currentLine_);
    bottomLine_->setFixedHeight(std::max(notice_->height(), currentLine_->sizeHint().height()));
    layout->addWidget(bottomLine_);
    return centre;
}

void MainWindow::connectController() {
    connect(&controller_, &RunController::phaseChanged, this, [this](RunPhase phase) {
        panels_->showPhase(phase);
        // The current line is shown while the main pass checks it.
        bottomLine_->setCurrentWidget(phase == RunPhase::Validating
                                          ? static_cast<QWidget*>(currentLine_)
                                          : static_cast<QWidget*>(notice_));
    });
    connect(&controller_, &RunController::progressChanged, panels_, &RunPanels::showProgress);
    connect(&controller_, &RunController::elapsedChanged, panels_, &RunPanels::showElapsed);
    connect(&controller_, &RunController::countersChanged, panels_, &RunPanels::showCounters);
    connect(&controller_, &RunController::informationChanged, this,
            [this](const QString& caption, const QString& text) {
                informationFrame_->setTitle(caption);
                information_->setText(text);
            });
    connect(&controller_, &RunController::lineChanged, currentLine_,
            [this](qint64, const QString& line) {
                currentLine_->setText(line);
                currentLine_->setCursorPosition(0);  // the line from its start
            });
    connect(&controller_, &RunController::finished, this, &MainWindow::closeRun);
}

void MainWindow::validate() {
    if (controller_.running()) {
        controller_.cancel();
        notice_->start();
        return;
    }
    std::filesystem::path loadPath;
    if (!chooseLoadFile(loadPath)) return;
    enterRunningState();
    runOptions_ = configuration_.options();
    controller_.start({configuration_.layouts(), runOptions_, configuration_.loadValueLists(),
                       std::move(loadPath)});
}

bool MainWindow::chooseLoadFile(std::filesystem::path& loadPath) {
    information_->clear();
    informationFrame_->setTitle(QStringLiteral("Information"));
    panels_->resetCounters();
    const QString chosen =
        services_.dialogs.chooseOpenFile(this, {QStringLiteral("Select a file to Load"),
                                                {QStringLiteral("Data (*.dat)")},
                                                QStringLiteral("dat"),
                                                DirectoryOf(loadPath_)});
    if (chosen.isEmpty()) return false;
    loadPath_ = chosen;
    // A long path keeps its start and its file name.
    loadFile_->setText(loadFile_->fontMetrics().elidedText(chosen, Qt::ElideMiddle,
                                                           loadFile_->contentsRect().width()));
    loadFile_->setToolTip(chosen);
    loadPath = chosen.toStdString();
    return true;
}

void MainWindow::enterRunningState() {
    validateButton_->setText(QStringLiteral("CANCEL"));
    fileMenu_->menuAction()->setEnabled(false);
    optionsMenu_->menuAction()->setEnabled(false);
    notice_->stop();
    viewButton_->setEnabled(false);
    currentLine_->clear();
}

void MainWindow::leaveRunningState() {
    viewButton_->setEnabled(true);
    fileMenu_->menuAction()->setEnabled(true);
    optionsMenu_->menuAction()->setEnabled(true);
    notice_->start();
}

void MainWindow::closeRun(const RunOutcome& outcome) {
    panels_->showCounters(outcome.counters);
    bottomLine_->setCurrentWidget(notice_);
    validateButton_->setText(QStringLiteral("VALIDATE"));
    const RunClosing closing = PlanRunClosing(outcome, runOptions_);
    if (closing.retitle) setWindowTitle(Text(kRunWindowTitle));
    for (const OperatorMessage& message : closing.messages) {
        services_.dialogs.showMessage(this, message);
    }
    switch (closing.offer) {
        case ClosingOffer::ViewResults:
            if (services_.dialogs.ask(this, OfferMessage(closing.offer))) {
                showResultsViewer(outcome.paths.results);
            }
            break;
        case ClosingOffer::ViewReport:
            if (services_.dialogs.ask(this, OfferMessage(closing.offer))) {
                openReport(outcome.paths.report);
            }
            break;
        case ClosingOffer::Done:
            services_.dialogs.showMessage(this, OfferMessage(closing.offer));
            break;
        case ClosingOffer::None:
            break;
    }
    leaveRunningState();
}

void MainWindow::viewResults() {
    notice_->pause();
    const QString chosen = services_.dialogs.chooseOpenFile(
        this, {QStringLiteral("Select a Error/Report File to View"),
               {QStringLiteral("Error (*.err)"), QStringLiteral("Reports (*.dst)")},
               QStringLiteral("err"),
               DirectoryOf(loadPath_)});
    if (!chosen.isEmpty()) {
        const std::filesystem::path path = chosen.toStdString();
        if (chosen.right(4).toUpper() == QStringLiteral(".DST")) {
            openReport(path);
        } else {
            showResultsViewer(path);
        }
    }
    notice_->start();
}

void MainWindow::showResultsViewer(const std::filesystem::path& resultsPath) {
    ResultsViewer viewer(resultsPath, configuration_.layouts(), services_.dialogs, services_.opener,
                         this);
    services_.dialogs.showModal(viewer);
}

void MainWindow::openReport(const std::filesystem::path& reportPath) {
    const std::string failure = services_.opener.openTextFile(reportPath);
    if (!failure.empty()) services_.dialogs.showMessage(this, ViewReportFailedMessage(failure));
}

void MainWindow::showOptions() {
    OptionsDialog dialog(configuration_.path(), services_.dialogs, this);
    connect(&dialog, &OptionsDialog::helpRequested, this, [this] { openHelp(kReferenceDocument); });
    services_.dialogs.showModal(dialog);
    configuration_.reloadOptions();
}

void MainWindow::showAbout() {
    AboutBox about(this);
    services_.dialogs.showModal(about);
}

void MainWindow::openHelp(std::string_view document) {
    if (const auto path = LocateHelpDocument(document, services_.helpDirectories)) {
        services_.opener.openDocument(*path);
        return;
    }
    std::string places;
    for (const std::filesystem::path& directory : services_.helpDirectories) {
        places += directory.string() + "\n";
    }
    services_.dialogs.showMessage(this, HelpDocumentMissingMessage(document, places));
}

}  // namespace talveron
