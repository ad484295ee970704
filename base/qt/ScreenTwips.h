#pragma once

#include "base/Twips.h"

#include <QRect>

class QWidget;

namespace Twips {
// Twips per pixel of the screen the window is on (the primary screen when no
// window is given or the window has none yet); the default without a screen.
double ScreenPerPixel(const QWidget* window = nullptr);

// A rectangle given in twips as pixels at perPixel twips per pixel; each of
// left, top, width and height is rounded on its own.
QRect ToPixels(const QRect& twips, double perPixel);

// The same at the screen's twips per pixel, for layout code that runs once.
int ScreenPixels(double twips, const QWidget* window = nullptr);
QRect ScreenRect(int left, int top, int width, int height, const QWidget* window = nullptr);
}  // namespace Twips
