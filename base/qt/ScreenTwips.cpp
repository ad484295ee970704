#include "base/qt/ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

double Twips::ScreenPerPixel(const QWidget* window)
{
    const QScreen* screen = window ? window->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return PerPixelAt(screen ? screen->logicalDotsPerInch() : 0.0);
}

QRect Twips::ToPixels(const QRect& twips, double perPixel)
{
    return QRect(ToPixels(twips.left(), perPixel), ToPixels(twips.top(), perPixel), ToPixels(twips.width(), perPixel),
                 ToPixels(twips.height(), perPixel));
}

int Twips::ScreenPixels(double twips, const QWidget* window) { return ToPixels(twips, ScreenPerPixel(window)); }

QRect Twips::ScreenRect(int left, int top, int width, int height, const QWidget* window)
{
    return ToPixels(QRect(left, top, width, height), ScreenPerPixel(window));
}
