#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace talveron::style {

/// Twips (1/1440 inch) as pixels on the 96-dpi grid the windows are designed on.
constexpr int Px(int twips) { return (twips + 7) / 15; }

inline constexpr QColor kWindowGrey{192, 192, 192};
inline constexpr QColor kBlue{0, 0, 255};
inline constexpr QColor kDarkBlue{0, 0, 192};
inline constexpr QColor kMagenta{255, 0, 255};
inline constexpr QColor kRed{255, 0, 0};
inline constexpr QColor kDarkRed{192, 0, 0};
inline constexpr QColor kGreen{0, 255, 0};
inline constexpr QColor kYellow{255, 255, 0};
inline constexpr QColor kGrey{128, 128, 128};
inline constexpr QColor kWhite{255, 255, 255};

/// The windows' default font: the system's sans serif, bold, at the given point size.
QFont BoldFont(qreal pointSize = 8.25);
/// A bold serif font, as the file name and the information line use.
QFont SerifFont(qreal pointSize);
/// A bold fixed-pitch font.
QFont FixedFont(qreal pointSize);

/// Gives a top-level window the grey background and the bold default font.
void ApplyWindowLook(QWidget& window);
/// Sets a widget's text colour (and, when valid, its background) through its palette.
void SetColours(QWidget& widget, const QColor& text, const QColor& background = QColor());

}  // namespace talveron::style
