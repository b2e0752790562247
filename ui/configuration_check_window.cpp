#include "ui/configuration_check_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/configuration_check.h"
#include "config/profile_file.h"
#include "ui/dialogs.h"
#include "ui/external_opener.h"
#include "ui/operator_message.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ConfigurationCheckWindow::ConfigurationCheckWindow(std::filesystem::path path, Dialogs& dialogs,
                                                   ExternalOpener& opener, QWidget* parent)
    : QDialog(parent),
      path_(std::move(path)),
      dialogs_(dialogs),
      opener_(opener),
      summary_(new QLabel(this)),
      problems_(new QTreeWidget(this)),
      selected_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Check Configuration"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Level"), QStringLiteral("Problem")});
    problems_->setRootIsDecorated(false);
    problems_->setWordWrap(true);
    problems_->header()->setStretchLastSection(true);
    selected_->setObjectName(QStringLiteral("selected"));
    selected_->setTextFormat(Qt::PlainText);
    selected_->setWordWrap(true);
    selected_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    selected_->setMinimumHeight(selected_->fontMetrics().lineSpacing() * 3);
    selected_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(problems_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        selected_->setText(row == nullptr ? QString() : row->toolTip(2));
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* again =
        buttons->addButton(QStringLiteral("Check Again"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("checkAgain"));
    connect(again, &QPushButton::clicked, this, &ConfigurationCheckWindow::check);
    QPushButton* editor =
        buttons->addButton(QStringLiteral("Open in editor"), QDialogButtonBox::ActionRole);
    editor->setObjectName(QStringLiteral("openInEditor"));
    editor->setVisible(opener_.available());
    connect(editor, &QPushButton::clicked, this, &ConfigurationCheckWindow::openInEditor);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(problems_);
    layout->addWidget(selected_);
    layout->addWidget(buttons);
    resize(900, 480);
}

void ConfigurationCheckWindow::check() {
    problems_->clear();
    const QString file = Text(path_.string());
    IniDocument document;
    if (const Status loaded = LoadIniFile(path_, document); !loaded.ok()) {
        summary_->setText(Text(loaded.message()));
    } else {
        const std::vector<ConfigurationProblem> problems = CheckConfiguration(document);
        for (const ConfigurationProblem& problem : problems) {
            auto* row = new QTreeWidgetItem(
                problems_, {problem.line == 0 ? QString() : QString::number(problem.line),
                            Text(std::string(LevelWord(problem.level))), Text(problem.message)});
            row->setForeground(1,
                               problem.level == ProblemLevel::Error ? style::kRed : style::kBlue);
            row->setToolTip(
                2, Text(std::string(LevelWord(problem.level))) +
                       (problem.line == 0 ? QString()
                                          : QStringLiteral(" at line %1").arg(problem.line)) +
                       QStringLiteral(": ") + Text(problem.message));
        }
        problems_->setCurrentItem(problems_->topLevelItem(0));
        summary_->setText(file + QStringLiteral(": ") + Text(CountProblems(problems)) +
                          QStringLiteral("."));
    }
    problems_->resizeColumnToContents(0);
    problems_->resizeColumnToContents(1);
    show();
    raise();
    activateWindow();
}

void ConfigurationCheckWindow::openInEditor() {
    const std::string failure = opener_.openTextFile(path_);
    if (!failure.empty()) {
        dialogs_.showMessage(this, EditorFailedMessage(windowTitle().toStdString(), failure));
    }
}

}  // namespace talveron
