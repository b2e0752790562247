#pragma once

#include <QDialog>

#include <filesystem>
#include <string>

class QPushButton;
class QTextBrowser;

namespace talveron {

class Dialogs;
class ExternalOpener;

/// What a document window shows.
enum class DocumentKind {
    Help,    ///< a help document, Markdown rendered
    Report,  ///< a summary report, plain text in a fixed-width font so that its columns line up
};

/// A read-only window on one help document or summary report, which it reads whole. "Open in
/// editor" hands the file to the desktop's opener and is there only when the desktop has one.
/// The window stays open beside the others; showing another file replaces what it shows.
class DocumentWindow final : public QDialog {
    Q_OBJECT

public:
    DocumentWindow(DocumentKind kind, Dialogs& dialogs, ExternalOpener& opener,
                   QWidget* parent = nullptr);

    /// Reads the file and shows it, in front. Empty on success; otherwise the system's reason why
    /// the file could not be read, and the window is left as it was.
    std::string showFile(const std::filesystem::path& path);

private:
    void openInEditor();

    DocumentKind kind_;
    Dialogs& dialogs_;
    ExternalOpener& opener_;
    std::filesystem::path path_;
    QTextBrowser* text_;
    QPushButton* openInEditor_;
};

/// `owner`'s document window of that object name, made on first use. A modal window has its own,
/// which its being modal does not block.
DocumentWindow& OwnedDocumentWindow(QWidget& owner, DocumentKind kind, const QString& name,
                                    Dialogs& dialogs, ExternalOpener& opener);

/// Shows a summary report in `owner`'s report window; when it cannot be read, says why in
/// "Error Viewing Report".
void ShowReport(QWidget& owner, const std::filesystem::path& path, Dialogs& dialogs,
                ExternalOpener& opener);

}  // namespace talveron
