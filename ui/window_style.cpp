#include "ui/window_style.h"

#include <QPalette>
#include <QWidget>

namespace talveron::style {

namespace {

QFont Font(QFont::StyleHint hint, const QString& family, qreal pointSize) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

}  // namespace

QFont BoldFont(qreal pointSize) {
    return Font(QFont::SansSerif, QStringLiteral("Sans Serif"), pointSize);
}

QFont SerifFont(qreal pointSize) { return Font(QFont::Serif, QStringLiteral("Serif"), pointSize); }

QFont FixedFont(qreal pointSize) {
    return Font(QFont::Monospace, QStringLiteral("Monospace"), pointSize);
}

void ApplyWindowLook(QWidget& window) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, kWindowGrey);
    palette.setColor(QPalette::Button, kWindowGrey);
    // Greyed-out text must stay readable on the grey background.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Disabled, role, kGrey);
    }
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setFont(BoldFont());
}

void SetColours(QWidget& widget, const QColor& text, const QColor& background) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Base, background);
        widget.setAutoFillBackground(true);
    }
    widget.setPalette(palette);
}

}  // namespace talveron::style
