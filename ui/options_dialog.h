#pragma once

#include <QDialog>

#include <array>
#include <filesystem>

#include "config/option_settings.h"
#include "ui/option_form.h"

class QCheckBox;
class QLineEdit;
class QScrollArea;

namespace talveron {

class Dialogs;

/// The "System Options" dialog: the output options, the four automatic-cancel limits and the 61
/// check codes of the configuration file. It fills itself from the file when it opens; OK writes
/// every option key into the file at once (nothing else in the file changes) and closes; Cancel
/// writes nothing. A save that fails is reported and leaves the file as it was, and the dialog
/// stays open. It opens no larger than its screen: the frames scroll, and the check boxes reflow
/// into one column where two do not fit, while OK, Cancel and Help stay in view.
class OptionsDialog final : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(std::filesystem::path configurationPath, Dialogs& dialogs,
                  QWidget* parent = nullptr);

    /// The controls as values.
    OptionForm form() const;
    /// Opening: sizes the dialog to show every frame where its screen has room for it.
    void setVisible(bool visible) override;

signals:
    /// The Help button: the caller opens the reference of the check codes.
    void helpRequested();

private:
    void build();
    QWidget* outputFrame();
    QWidget* autoCancelFrame();
    QWidget* validationFrame();
    QWidget* buttonColumn();
    QCheckBox* checkBox(OptionKey key, const QString& objectName, QWidget* parent);
    void fill(const OptionForm& form);
    void applyEnablingRules();
    void save();

    std::filesystem::path configurationPath_;
    Dialogs& dialogs_;
    std::array<QCheckBox*, kOptionCount> boxes_{};   // nullptr for the limits
    std::array<QLineEdit*, kOptionCount> limits_{};  // the four limits only
    QScrollArea* scroll_ = nullptr;
    QWidget* buttons_ = nullptr;
};

}  // namespace talveron
