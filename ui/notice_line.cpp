#include "ui/notice_line.h"

#include <QLabel>

#include "ui/window_style.h"

namespace talveron {

namespace {

constexpr int kStep = style::Px(32);

QLabel* NoticeLabel(const QString& text, const QString& name, const QFont& font,
                    const QColor& colour, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    style::SetColours(*label, colour);
    label->adjustSize();
    return label;
}

QFont BannerFont() {
    QFont font = style::BoldFont(9);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}

}  // namespace

NoticeLine::NoticeLine(QWidget* parent)
    : QWidget(parent),
      banner_(NoticeLabel(QString::fromUtf8("Talveron \u2014 MORVA data file validation"),
                          QStringLiteral("banner"), BannerFont(), style::kBlue, this)),
      second_(NoticeLabel(
          QStringLiteral("      Validate every load file before you submit it to MORVA.      "),
          QStringLiteral("banner2"), style::BoldFont(9.75), style::kRed, this)) {
    setObjectName(QStringLiteral("NoticeLine"));
    setFixedHeight(std::max(banner_->height(), second_->height()));
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &NoticeLine::step);
    banner_->move(0, 0);
    second_->move(banner_->width(), 0);
    start();
}

void NoticeLine::start() {
    banner_->show();
    second_->show();
    timer_.start();
}

void NoticeLine::stop() {
    timer_.stop();
    banner_->hide();
    second_->hide();
}

void NoticeLine::pause() { timer_.stop(); }

void NoticeLine::step() {
    if (banner_->isHidden()) return;
    const int right = banner_->x() + banner_->width();
    banner_->move(right <= 0 ? width() - kStep : banner_->x() - kStep, 0);
    second_->move(banner_->x() + banner_->width(), 0);
}

}  // namespace talveron
