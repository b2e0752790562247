#pragma once

#include <QString>
#include <QStringList>

#include "ui/operator_message.h"

class QDialog;
class QPrinter;
class QWidget;

namespace talveron {

/// An open-file dialog as the windows ask for it.
struct FileChoice {
    QString title;
    QStringList filters;  ///< the first one is selected
    QString defaultSuffix;
    QString directory;  ///< where the dialog starts; empty for the current directory
};

/// A save-file dialog with a check box below it.
struct SaveChoice {
    QString title;
    QStringList filters;  ///< the first one is selected
    QString defaultSuffix;
    QString file;         ///< the file proposed: where the dialog starts and the name it offers
    QString checkBox;     ///< the check box's caption
    bool checked = true;  ///< the check box's state as the dialog opens
};

/// What the operator chose in a save-file dialog.
struct SavedFile {
    QString path;          ///< the chosen file's full path; empty when the dialog was cancelled
    bool checked = false;  ///< the check box's state
};

/// Everything that waits for the operator: message boxes, questions, file dialogs, modal windows
/// and the printer choice. The windows never open one themselves, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// A message box with an OK button; returns when the operator has closed it.
    virtual void showMessage(QWidget* parent, const OperatorMessage& message) = 0;
    /// An OK / Cancel question; true for OK.
    virtual bool ask(QWidget* parent, const OperatorMessage& question) = 0;
    /// A question with the offer's action button and Cancel; true for the action.
    virtual bool offer(QWidget* parent, const OperatorOffer& offer) = 0;
    /// The chosen file's full path; empty when the dialog was cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const FileChoice& choice) = 0;
    /// The file to write and the state of the dialog's check box.
    virtual SavedFile chooseSaveFile(QWidget* parent, const SaveChoice& choice) = 0;
    /// Shows a window modally; returns when it has been closed.
    virtual void showModal(QDialog& dialog) = 0;
    /// Sets up the printer: the system's default printer, else the one the operator picks in the
    /// print dialog (which can also print to a PDF file). False when the operator cancels.
    virtual bool preparePrinter(QWidget* parent, QPrinter& printer) = 0;
};

/// The real dialogs of the desktop.
class WidgetDialogs final : public Dialogs {
public:
    void showMessage(QWidget* parent, const OperatorMessage& message) override;
    bool ask(QWidget* parent, const OperatorMessage& question) override;
    bool offer(QWidget* parent, const OperatorOffer& offer) override;
    QString chooseOpenFile(QWidget* parent, const FileChoice& choice) override;
    SavedFile chooseSaveFile(QWidget* parent, const SaveChoice& choice) override;
    void showModal(QDialog& dialog) override;
    bool preparePrinter(QWidget* parent, QPrinter& printer) override;
};

}  // namespace talveron
