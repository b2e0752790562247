#include "ui/document_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFrame>
#include <QTextTable>
#include <QVBoxLayout>

#include "config/status.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/external_opener.h"
#include "ui/operator_message.h"

namespace talveron {

namespace {

// A summary report has a few kilobytes; a file far larger is not one and is not read into memory.
constexpr qint64 kLargestDocument = qint64{16} << 20;

// Markdown tables with single lines between the cells and room around the text.
void TidyTables(QTextDocument& document) {
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorderCollapse(true);
            format.setCellPadding(3);
            table->setFormat(format);
        }
    }
}

// A help document's first heading; a report's file name.
QString TitleOf(DocumentKind kind, const QTextDocument& document,
                const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.filename().string());
    if (kind == DocumentKind::Report)
        return QStringLiteral("Distribution Summary Report - ") + name;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1) return block.text();
    }
    return name;
}

}  // namespace

DocumentWindow::DocumentWindow(DocumentKind kind, Dialogs& dialogs, ExternalOpener& opener,
                               QWidget* parent)
    : QDialog(parent),
      kind_(kind),
      dialogs_(dialogs),
      opener_(opener),
      text_(new QTextBrowser(this)) {
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    text_->setObjectName(QStringLiteral("document"));
    text_->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    openInEditor_ =
        buttons->addButton(QStringLiteral("Open in editor"), QDialogButtonBox::ActionRole);
    openInEditor_->setObjectName(QStringLiteral("openInEditor"));
    openInEditor_->setVisible(opener_.available());
    connect(openInEditor_, &QPushButton::clicked, this, &DocumentWindow::openInEditor);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);

    QSize size(800, 640);
    if (kind_ == DocumentKind::Report) {
        text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text_->setLineWrapMode(QTextEdit::NoWrap);
        // The report's widest lines and a page of it, without scrolling where there is room.
        const QFontMetrics metrics(text_->font());
        size = QSize(metrics.horizontalAdvance(QString(100, QLatin1Char('0'))),
                     metrics.lineSpacing() * 45);
    }
    resize(size.boundedTo(screen()->availableGeometry().size() * 9 / 10));
}

std::string DocumentWindow::showFile(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        return "Cannot open " + QuotedPath(path) + ": " + file.errorString().toStdString();
    }
    if (file.size() > kLargestDocument) {
        return "Cannot show " + QuotedPath(path) + ": at " + std::to_string(file.size() >> 20) +
               " MiB it is too large to be a summary report";
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return "Cannot read " + QuotedPath(path) + ": " + file.errorString().toStdString();
    }
    const QString text = DisplayText(std::string_view(bytes.constData(), bytes.size()));
    if (kind_ == DocumentKind::Help) {
        text_->setMarkdown(text);
        TidyTables(*text_->document());
    } else {
        text_->setPlainText(text);
    }
    path_ = path;
    setWindowTitle(TitleOf(kind_, *text_->document(), path));
    show();
    raise();
    activateWindow();
    return {};
}

void DocumentWindow::openInEditor() {
    const std::string failure = opener_.openTextFile(path_);
    if (!failure.empty()) {
        dialogs_.showMessage(this, EditorFailedMessage(windowTitle().toStdString(), failure));
    }
}

DocumentWindow& OwnedDocumentWindow(QWidget& owner, DocumentKind kind, const QString& name,
                                    Dialogs& dialogs, ExternalOpener& opener) {
    auto* window = owner.findChild<DocumentWindow*>(name, Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new DocumentWindow(kind, dialogs, opener, &owner);
        window->setObjectName(name);
    }
    return *window;
}

void ShowReport(QWidget& owner, const std::filesystem::path& path, Dialogs& dialogs,
                ExternalOpener& opener) {
    const std::string failure =
        OwnedDocumentWindow(owner, DocumentKind::Report, QStringLiteral("report"), dialogs, opener)
            .showFile(path);
    if (!failure.empty()) dialogs.showMessage(&owner, ViewReportFailedMessage(failure));
}

}  // namespace talveron
