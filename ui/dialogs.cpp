#include "ui/dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace talveron {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// A message box with the message's title, text, icon and detail, and those buttons.
void Fill(QMessageBox& box, const OperatorMessage& message, QMessageBox::StandardButtons buttons) {
    box.setIcon(IconOf(message.icon));
    box.setWindowTitle(QString::fromStdString(message.title));
    box.setText(QString::fromStdString(message.text));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(buttons);
    if (!message.detail.empty()) box.setInformativeText(QString::fromStdString(message.detail));
}

}  // namespace

void WidgetDialogs::showMessage(QWidget* parent, const OperatorMessage& message) {
    QMessageBox box(parent);
    Fill(box, message, QMessageBox::Ok);
    box.exec();
}

bool WidgetDialogs::ask(QWidget* parent, const OperatorMessage& question) {
    QMessageBox box(parent);
    Fill(box, question, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

bool WidgetDialogs::offer(QWidget* parent, const OperatorOffer& offer) {
    QMessageBox box(parent);
    Fill(box, offer.question, QMessageBox::Cancel);
    QPushButton* action =
        box.addButton(QString::fromStdString(offer.action), QMessageBox::AcceptRole);
    box.setDefaultButton(action);
    box.exec();
    return box.clickedButton() == action;
}

QString WidgetDialogs::chooseOpenFile(QWidget* parent, const FileChoice& choice) {
    QFileDialog dialog(parent, choice.title, choice.directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(choice.filters);
    if (!choice.filters.isEmpty()) dialog.selectNameFilter(choice.filters.front());
    dialog.setDefaultSuffix(choice.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

SavedFile WidgetDialogs::chooseSaveFile(QWidget* parent, const SaveChoice& choice) {
    QFileDialog dialog(parent, choice.title);
    // The platform's own dialog cannot carry the check box.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(choice.filters);
    if (!choice.filters.isEmpty()) dialog.selectNameFilter(choice.filters.front());
    dialog.setDefaultSuffix(choice.defaultSuffix);
    dialog.selectFile(choice.file);
    auto* box = new QCheckBox(choice.checkBox, &dialog);
    box->setObjectName(QStringLiteral("checkBox"));
    box->setChecked(choice.checked);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {dialog.selectedFiles().front(), box->isChecked()};
}

void WidgetDialogs::showModal(QDialog& dialog) { dialog.exec(); }

bool WidgetDialogs::preparePrinter(QWidget* parent, QPrinter& printer) {
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (!standard.isNull()) {
        printer.setPrinterName(standard.printerName());
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace talveron
