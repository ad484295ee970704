#include "components/qt/QtDrawingSurface.h"

#include "base/qt/QtColors.h"

#include <QPaintDevice>
#include <QPainter>

QtDrawingSurface::QtDrawingSurface(QPaintDevice& target)
    : target_(target)
{
}

QtDrawingSurface::~QtDrawingSurface() = default;

bool QtDrawingSurface::CreateOffscreen(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    offscreen_ = QImage(width, height, QImage::Format_RGB32);
    return !offscreen_.isNull();
}

void QtDrawingSurface::FillOffscreen(int left, int top, int right, int bottom, ColorWord rgb)
{
    if (offscreen_.isNull())
        return;
    const QRect band = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(offscreen_.rect());
    if (band.isEmpty())
        return;
    if (!bandPainter_)
        bandPainter_ = std::make_unique<QPainter>(&offscreen_);
    bandPainter_->fillRect(band, ToQColor(rgb));
}

void QtDrawingSurface::CopyOffscreen(int x, int y)
{
    if (offscreen_.isNull())
        return;
    bandPainter_.reset();
    QPainter painter(&target_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), offscreen_);
}

void QtDrawingSurface::ReleaseOffscreen()
{
    bandPainter_.reset();
    offscreen_ = QImage();
}
