#pragma once

#include <QDialog>

namespace talveron {

/// The About box: the program's version line, the build's version, who made it and where to get
/// help, and an OK button.
class AboutBox final : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

/// The version line of the About box.
inline constexpr const char* kAboutVersionLine =
    "Talveron.exe  Version 3.2  for 32-bit OS (01-16-2004)";

}  // namespace talveron
