#include "ui/about_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "talveron/version.h"
#include "ui/window_style.h"

namespace talveron {

namespace {

// The radiation trefoil, the mark of the trade the program serves.
QPixmap Trefoil(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kYellow);
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    painter.setBrush(QColor(128, 0, 128));
    const QPointF centre(size / 2.0, size / 2.0);
    const qreal outer = size * 0.46;
    const qreal inner = size * 0.14;
    const QRectF outerBox(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    const QRectF innerBox(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    for (int blade = 0; blade < 3; ++blade) {
        QPainterPath path;
        const qreal start = blade * 120.0;
        path.arcMoveTo(innerBox, start);
        path.arcTo(outerBox, start, 60.0);
        path.arcTo(innerBox, start + 60.0, -60.0);
        path.closeSubpath();
        painter.drawPath(path);
    }
    painter.drawEllipse(centre, size * 0.09, size * 0.09);
    return pixmap;
}

QLabel* Picture(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(Trefoil(style::Px(720)));
    return label;
}

QLabel* Line(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    style::ApplyWindowLook(*this);

    auto* lines = new QVBoxLayout;
    QLabel* title = Line(QStringLiteral("Talveron"), QStringLiteral("TitleLabel"), this);
    title->setFont(style::SerifFont(14));
    style::SetColours(*title, style::kBlue);
    lines->addWidget(title);
    lines->addWidget(Line(QString::fromUtf8(kAboutVersionLine), QStringLiteral("VerLabel"), this));
    lines->addWidget(Line(QStringLiteral("Version ") + QString::fromUtf8(kVersion),
                          QStringLiteral("BuildLabel"), this));
    lines->addSpacing(style::Px(120));
    lines->addWidget(Line(QStringLiteral("Validator for MORVA occupational radiation-exposure data "
                                         "files,\nmaintained by the Talveron developers."),
                          QStringLiteral("DevLabel"), this));
    lines->addWidget(Line(QStringLiteral("For help, see Help > Users Guide, or ask your MORVA "
                                         "reporting contact."),
                          QStringLiteral("SupLabel"), this));

    auto* top = new QHBoxLayout;
    top->addWidget(Picture(QStringLiteral("Picture1"), this), 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    top->addWidget(Picture(QStringLiteral("Picture2"), this), 0, Qt::AlignTop);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkCommand"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace talveron
