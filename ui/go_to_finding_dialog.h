#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace talveron {

/// Step > Go To Finding: asks for the number of a finding, 1 to the total. OK is enabled only
/// for a number in that range.
class GoToFindingDialog final : public QDialog {
    Q_OBJECT

public:
    GoToFindingDialog(std::int64_t current, std::int64_t total, QWidget* parent = nullptr);

    /// The number entered; in range when the dialog was accepted.
    std::int64_t number() const;

private:
    std::int64_t total_;
    QLineEdit* number_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace talveron
