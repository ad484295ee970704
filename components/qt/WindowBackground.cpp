#include "components/qt/WindowBackground.h"

#include "base/qt/ScreenTwips.h"
#include "components/qt/QtDrawingSurface.h"

#include <QPainter>
#include <QWidget>

namespace {
struct BackgroundColors {
    ColorWord start;
    ColorWord end;
};

BackgroundColors ColorsOf(BackgroundKind kind)
{
    const ColorWord nearWhite = ColorWord::Rgb(250, 250, 250);
    switch (kind) {
    case BackgroundKind::MapSizeDialog:
    case BackgroundKind::ReplaceDialog:
        return {ColorWord::Rgb(250, 190, 0), nearWhite};
    case BackgroundKind::MapWindow:
    case BackgroundKind::AboutBox:
        break;
    }
    return {ColorWord::Rgb(0, 10, 0), nearWhite};
}

}

WindowBackground::WindowBackground(BackgroundKind kind)
    : kind_(kind)
{
}

void WindowBackground::PaintBackground(QWidget& window)
{
    size_ = window.size();
    clearColor_ = window.palette().color(window.backgroundRole());
    twipsPerPixel_ = Twips::ScreenPerPixel(&window);
    pending_ = true;
    window.update();
}

void WindowBackground::Render() const
{
    pending_ = false;
    if (image_.size() != size_)
        image_ = QImage(size_, QImage::Format_RGB32);
    if (!image_.isNull())
        image_.fill(clearColor_);

    const double twips = twipsPerPixel_;
    const BackgroundColors colors = ColorsOf(kind_);
    QtDrawingSurface surface(image_);
    painter_.SetTwipsPerPixel(twips, twips);
    painter_.StartColor(colors.start);
    painter_.EndColor(colors.end);
    painter_.SetRectangle(0, 0, Twips::ToTwips(size_.width(), twips), Twips::ToTwips(size_.height(), twips));
    painter_.Direction(1);
    painter_.hdc(&surface);
    painter_.Gradation(nullptr);
    painter_.hdc(nullptr);  // the surface lives only for this call
}

const QImage& WindowBackground::Image() const
{
    if (pending_)
        Render();
    return image_;
}

void WindowBackground::Draw(QPainter& painter) const
{
    const QImage& image = Image();
    if (!image.isNull())
        painter.drawImage(QPoint(0, 0), image);
}
