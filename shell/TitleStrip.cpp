#include "shell/TitleStrip.h"

#include "base/qt/QtColors.h"

#include <QPainter>

TitleStrip::TitleStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName("Picture1");
    QFont stripFont("ＭＳ Ｐゴシック", 9);
    stripFont.setBold(true);
    setFont(stripFont);
}

void TitleStrip::resizeEvent(QResizeEvent*)
{
    QPixmap fresh(size());
    fresh.fill(ToQColor(ColorWord::System(SystemColor::ActiveCaption)));
    if (!image_.isNull()) {
        QPainter painter(&fresh);
        painter.drawPixmap(0, 0, image_);
    }
    image_ = fresh;
}

void TitleStrip::DrawText(int x, int y, const QString& text)
{
    if (image_.size() != size())
        resizeEvent(nullptr);
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(ToQColor(ColorWord::System(SystemColor::HighlightText)));
    const QFontMetrics metrics(font());
    painter.drawText(x, y + metrics.ascent(), text);
    update();
}

void TitleStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, image_);
}
