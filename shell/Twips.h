#pragma once

#include <QRect>

#include <cmath>

// Frame geometry is given in twips; the frame lays out at 15 twips per pixel.
namespace Twips {
inline constexpr double PerPixel = 15.0;

inline int ToPixels(double twips) { return static_cast<int>(std::nearbyint(twips / PerPixel)); }

inline QRect Rect(int left, int top, int width, int height)
{
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}
}  // namespace Twips
