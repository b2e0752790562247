#include "ui/go_to_finding_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace talveron {

GoToFindingDialog::GoToFindingDialog(std::int64_t current, std::int64_t total, QWidget* parent)
    : QDialog(parent), total_(total) {
    setObjectName(QStringLiteral("goTo"));
    setWindowTitle(QStringLiteral("Go To Finding"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Finding number (1 to %1):").arg(total), this);
    number_ = new QLineEdit(QString::number(current), this);
    number_->setObjectName(QStringLiteral("number"));
    number_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,18}")), this));
    number_->selectAll();
    prompt->setBuddy(number_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(prompt);
    layout->addWidget(number_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto check = [this] { ok_->setEnabled(number() >= 1 && number() <= total_); };
    connect(number_, &QLineEdit::textChanged, this, check);
    check();
}

std::int64_t GoToFindingDialog::number() const { return number_->text().toLongLong(); }

}  // namespace talveron
