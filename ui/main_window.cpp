#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/default_configuration.h"
#include "config/profile_file.h"
#include "report/personal_data_mask.h"
#include "run/run_html_report.h"
#include "talveron/version.h"
#include "ui/about_box.h"
#include "ui/configuration_check_window.h"
#include "ui/dialogs.h"
#include "ui/document_window.h"
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

// The one local load file (*.dat) a drag carries; empty when it carries anything else.
QString DraggedLoadFile(const QMimeData* data) {
    if (data == nullptr || data->urls().size() != 1 || !data->urls().front().isLocalFile()) {
        return {};
    }
    const QString path = data->urls().front().toLocalFile();
    return path.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive) ? path : QString();
}

QPushButton* CommandButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFixedHeight(style::Px(495));
    return button;
}

/// A file of the configuration directory; empty when there is none, so that nothing is read from
/// or written to the current folder instead.
std::filesystem::path InConfigurationDirectory(const std::filesystem::path& directory,
                                               std::string_view name) {
    return directory.empty() ? std::filesystem::path() : directory / name;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      configuration_(
          InConfigurationDirectory(services_.configurationDirectory, kConfigurationFileName)),
      recentFiles_(
          InConfigurationDirectory(services_.configurationDirectory, kDesktopSettingsFileName)),
      controller_(services_.clock, this, services_.refreshInterval),
      history_(services_.stateDirectory) {
    setObjectName(QStringLiteral("f"));
    setWindowTitle(Text(kProgramTitle));
    style::ApplyWindowLook(*this);
    setAcceptDrops(true);
    buildMenus();
    setCentralWidget(buildCentre());
    resize(kInnerWidth, kInnerHeight + menuBar()->sizeHint().height());
    connectController();
    loadConfiguration();
    fillRecentFiles();
    setRunControls(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, const QString& name,
                            const QKeySequence& shortcut, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto separator = [](QMenu* menu, const QString& name) {
        QAction* line = menu->addSeparator();
        line->setObjectName(name);
        return line;
    };
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("mnu_file"));
    fileMenu_->setToolTipsVisible(true);
    validateAction_ = add(fileMenu_, QStringLiteral("&Validate"), QStringLiteral("mnu_validate"),
                          QKeySequence(Qt::CTRL | Qt::Key_O), [this] { validate(); });
    viewAction_ =
        add(fileMenu_, QStringLiteral("View &Results"), QStringLiteral("mnu_view_results"),
            QKeySequence(Qt::CTRL | Qt::Key_R), [this] { viewResults(); });
    saveHtmlAction_ = add(fileMenu_, QStringLiteral("Save &HTML Report..."),
                          QStringLiteral("mnu_save_html"), {}, [this] { saveHtmlReport(); });
    separator(fileMenu_, QStringLiteral("mnu_dash"));
    recentEnd_ = separator(fileMenu_, QStringLiteral("mnu_recent_end"));
    add(fileMenu_, QStringLiteral("&Exit"), QStringLiteral("mnu_exit"),
        QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    optionsMenu_ = menuBar()->addMenu(QStringLiteral("&Options"));
    optionsMenu_->setObjectName(QStringLiteral("mnu_options"));
    add(optionsMenu_, QStringLiteral("&Settings..."), QStringLiteral("mnu_auto_cancel"), {},
        [this] { showOptions(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnu_help"));
    add(help, QStringLiteral("&Users Guide..."), QStringLiteral("mnu_help_users_guide"),
        QKeySequence(Qt::Key_F1), [this] { showHelp(kUsersGuideDocument, this); });
    add(help, QStringLiteral("&Reference..."), QStringLiteral("mnu_help_reference"), {},
        [this] { showHelp(kReferenceDocument, this); });
    add(help, QStringLiteral("&Administrative..."), QStringLiteral("mnu_help_administrative"), {},
        [this] { showHelp(kAdministrativeDocument, this); });
    add(help, QStringLiteral("&Check Configuration..."), QStringLiteral("mnu_help_check_config"),
        {}, [this] { showConfigurationCheck(); });
    separator(help, QStringLiteral("mnu_split2"));
    add(help, QStringLiteral("A&bout"), QStringLiteral("mnu_help_about"), {},
        [this] { showAbout(); });
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

    sinceLastRun_ = new QLabel(centre);
    sinceLastRun_->setObjectName(QStringLiteral("sinceLastRun"));
    sinceLastRun_->setAlignment(Qt::AlignCenter);
    sinceLastRun_->setTextFormat(Qt::PlainText);
    sinceLastRun_->setWordWrap(true);
    layout->addWidget(sinceLastRun_);
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

void MainWindow::loadConfiguration() {
    if (configuration_.load()) return;
    if (!configuration_.missing()) {
        if (services_.dialogs.offer(
                this, ConfigurationInvalidOffer(configuration_.path(), configuration_.problem()))) {
            showConfigurationCheck();
        }
        return;
    }
    if (!services_.dialogs.offer(
            this, ConfigurationMissingOffer(configuration_.path(), configuration_.problem()))) {
        return;
    }
    if (const Status installed = InstallDefaultConfiguration(services_.configurationDirectory);
        !installed.ok()) {
        services_.dialogs.showMessage(this, ConfigurationNotInstalledMessage(installed.message()));
    } else if (!configuration_.load()) {
        services_.dialogs.showMessage(
            this, ConfigurationInvalidMessage(configuration_.path(), configuration_.problem()));
    }
}

bool MainWindow::canStartRun() const { return !controller_.running() && configuration_.usable(); }

void MainWindow::validate() {
    if (controller_.running()) {
        controller_.cancel();
        notice_->start();
        return;
    }
    resetInformation();
    const QString chosen =
        services_.dialogs.chooseOpenFile(this, {QStringLiteral("Select a file to Load"),
                                                {QStringLiteral("Data (*.dat)")},
                                                QStringLiteral("dat"),
                                                DirectoryOf(loadPath_)});
    if (!chosen.isEmpty()) startRun(chosen);
}

void MainWindow::validateFile(const QString& loadPath) {
    if (!canStartRun()) return;
    resetInformation();
    startRun(loadPath);
}

void MainWindow::resetInformation() {
    information_->clear();
    informationFrame_->setTitle(QStringLiteral("Information"));
    panels_->resetCounters();
}

void MainWindow::startRun(const QString& loadPath) {
    loadPath_ = loadPath;
    showLoadPath();
    recentFiles_.add(loadPath.toStdString());
    fillRecentFiles();
    panels_->resetForRun();
    setRunControls(true);
    notice_->stop();
    currentLine_->clear();
    sinceLastRun_->clear();
    runOptions_ = configuration_.options();
    runStarted_ = services_.clock.now();
    controller_.start({configuration_.layouts(), runOptions_, configuration_.loadValueLists(),
                       loadPath.toStdString(), history_.load(loadPath.toStdString())});
}

void MainWindow::showLoadPath() {
    // A long path keeps its start and its file name.
    loadFile_->setText(loadFile_->fontMetrics().elidedText(loadPath_, Qt::ElideMiddle,
                                                           loadFile_->contentsRect().width()));
    loadFile_->setToolTip(loadPath_);
}

void MainWindow::setRunControls(bool running) {
    // The menu items and their shortcuts go with the buttons they stand for.
    const bool usable = configuration_.usable();
    validateButton_->setText(running ? QStringLiteral("CANCEL") : QStringLiteral("VALIDATE"));
    validateButton_->setEnabled(usable);
    viewButton_->setEnabled(usable && !running);
    validateAction_->setEnabled(usable && !running);
    viewAction_->setEnabled(usable && !running);
    saveHtmlAction_->setEnabled(!running && lastRun_.has_value());
    for (QAction* recent : recentActions_) recent->setEnabled(usable && !running);
    // The File menu stays enabled for Exit: Qt would not deliver Ctrl+Q from a disabled menu, and
    // during a run it asks, as closing the window does, whether to cancel the run and quit.
    optionsMenu_->menuAction()->setEnabled(!running);
}

void MainWindow::fillRecentFiles() {
    for (QAction* action : recentActions_) delete action;
    recentActions_.clear();
    const int width = fileMenu_->fontMetrics().averageCharWidth() * 60;
    for (const std::filesystem::path& file : recentFiles_.files()) {
        const QString path = QString::fromStdString(file.string());
        const int number = static_cast<int>(recentActions_.size()) + 1;
        QString shown = fileMenu_->fontMetrics().elidedText(path, Qt::ElideMiddle, width);
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(number).arg(shown.replace(u'&', QStringLiteral("&&"))),
            fileMenu_);
        action->setObjectName(QStringLiteral("mnu_recent_%1").arg(number));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { validateFile(path); });
        fileMenu_->insertAction(recentEnd_, action);
        recentActions_.push_back(action);
    }
    recentEnd_->setVisible(!recentActions_.empty());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!controller_.running()) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (quitWhenRunEnds_ || !services_.dialogs.offer(this, QuitDuringRunOffer())) return;
    if (!controller_.running()) {  // it ended while the question was up
        event->accept();
        return;
    }
    // The run writes its outputs to the end before the window closes.
    quitWhenRunEnds_ = true;
    controller_.cancel();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (canStartRun() && !DraggedLoadFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString loadPath = DraggedLoadFile(event->mimeData());
    if (!canStartRun() || loadPath.isEmpty()) return;
    event->acceptProposedAction();
    validateFile(loadPath);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    showLoadPath();
}

void MainWindow::closeRun(const RunOutcome& outcome) {
    lastRun_ = LastRun{outcome, controller_.takeFindings(), runStarted_};
    compareWithLastRun();
    panels_->showCounters(outcome.counters);
    bottomLine_->setCurrentWidget(notice_);
    validateButton_->setText(QStringLiteral("VALIDATE"));
    const RunClosing closing = PlanRunClosing(outcome, runOptions_);
    if (closing.retitle) setWindowTitle(Text(kRunWindowTitle));
    for (const OperatorMessage& message : closing.messages) {
        services_.dialogs.showMessage(this, message);
    }
    if (quitWhenRunEnds_) {
        close();
        return;
    }
    switch (closing.offer) {
        case ClosingOffer::ViewResults:
            if (services_.dialogs.ask(this, OfferMessage(closing.offer))) {
                showResultsViewer(outcome.paths.results);
            }
            break;
        case ClosingOffer::ViewReport:
            if (services_.dialogs.ask(this, OfferMessage(closing.offer))) {
                showReport(outcome.paths.report);
            }
            break;
        case ClosingOffer::Done:
            services_.dialogs.showMessage(this, OfferMessage(closing.offer));
            break;
        case ClosingOffer::None:
            break;
    }
    setRunControls(false);
    notice_->start();
}

void MainWindow::compareWithLastRun() {
    // Only a run that checked every line tells what was fixed, and is worth comparing with.
    if (lastRun_->outcome.status != RunStatus::Validated) return;
    const RunFindings& findings = *lastRun_->findings;
    QString said;
    if (const std::optional<BaselineCounts> counts = findings.sinceLastRun())
        said = QStringLiteral("Since the last run: ") + Text(BaselineCountsText(*counts));
    if (const Status kept = history_.save(loadPath_.toStdString(), findings.digests()); !kept.ok())
        said += QStringLiteral("\nThe findings of this run are not kept for the next: ") +
                Text(kept.message());
    sinceLastRun_->setText(said.trimmed());
}

void MainWindow::saveHtmlReport() {
    if (!lastRun_) return;
    const RunOutcome& outcome = lastRun_->outcome;
    const SavedFile saved = services_.dialogs.chooseSaveFile(
        this, {QStringLiteral("Save HTML Report"),
               {QStringLiteral("Web page (*.html)")},
               QStringLiteral("html"),
               QString::fromStdString(DeriveOutputPath(outcome.paths.load, ".html").string()),
               QStringLiteral("Mask personal data"),
               true});
    if (saved.path.isEmpty()) return;
    const std::optional<PersonalDataMask> mask =
        saved.checked ? std::optional<PersonalDataMask>(configuration_.layouts()) : std::nullopt;
    const HtmlReport report{"talveron " + std::string(kVersion),
                            HtmlReportDate(lastRun_->started),
                            mask ? &*mask : nullptr,
                            {HtmlSectionOf(outcome, &lastRun_->findings->groups())}};
    const std::filesystem::path path = saved.path.toStdString();
    if (const Status written = SaveHtmlReport(path, report); !written.ok()) {
        services_.dialogs.showMessage(this, HtmlReportNotSavedMessage(written.message()));
        return;
    }
    // Without a browser the report is only saved, as asked.
    if (!services_.opener.available()) return;
    if (const std::string failure = services_.opener.openWebPage(path); !failure.empty())
        services_.dialogs.showMessage(this, ViewReportFailedMessage(failure));
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
            showReport(path);
        } else {
            showResultsViewer(path);
        }
    }
    notice_->start();
}

void MainWindow::showResultsViewer(const std::filesystem::path& resultsPath) {
    ResultsViewer viewer(resultsPath, configuration_.layouts(), services_.dialogs, services_.opener,
                         this);
    // The findings of the last run are known to be new only in the results file it wrote.
    if (lastRun_ && lastRun_->outcome.resultsWritten &&
        resultsPath == lastRun_->outcome.paths.results)
        viewer.setNewFindings(lastRun_->findings->newInResults());
    services_.dialogs.showModal(viewer);
}

void MainWindow::showReport(const std::filesystem::path& reportPath) {
    ShowReport(*this, reportPath, services_.dialogs, services_.opener);
}

void MainWindow::showOptions() {
    OptionsDialog dialog(configuration_.path(), services_.dialogs, this);
    // Its help window belongs to the modal dialog, so that it is not blocked by it.
    connect(&dialog, &OptionsDialog::helpRequested, this,
            [this, &dialog] { showHelp(kReferenceDocument, &dialog); });
    services_.dialogs.showModal(dialog);
    configuration_.reloadOptions();
}

void MainWindow::showAbout() {
    AboutBox about(this);
    services_.dialogs.showModal(about);
}

void MainWindow::showHelp(std::string_view document, QWidget* owner) {
    const std::string failure = OwnedDocumentWindow(*owner, DocumentKind::Help, Text(document),
                                                    services_.dialogs, services_.opener)
                                    .showFile(services_.helpDirectory / document);
    if (!failure.empty()) {
        services_.dialogs.showMessage(owner, HelpDocumentUnreadableMessage(document, failure));
    }
}

void MainWindow::showConfigurationCheck() {
    const QString name = QStringLiteral("configurationCheck");
    auto* window = findChild<ConfigurationCheckWindow*>(name, Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new ConfigurationCheckWindow(configuration_.path(), services_.dialogs,
                                              services_.opener, this);
        window->setObjectName(name);
    }
    window->check();
}

}  // namespace talveron
