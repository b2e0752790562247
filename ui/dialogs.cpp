#include "ui/dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

int Exec(QWidget* parent, const OperatorMessage& message, QMessageBox::StandardButtons buttons) {
    QMessageBox box(IconOf(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (!message.detail.empty()) box.setInformativeText(QString::fromStdString(message.detail));
    return box.exec();
}

}  // namespace

void WidgetDialogs::showMessage(QWidget* parent, const OperatorMessage& message) {
    Exec(parent, message, QMessageBox::Ok);
}

bool WidgetDialogs::ask(QWidget* parent, const OperatorMessage& question) {
    return Exec(parent, question, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
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
