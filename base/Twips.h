#pragma once

#include <cmath>

// Window geometry is given in twips (1/1440 inch). The one conversion
// between twips and pixels of the whole program: the caller supplies the
// screen's twips per pixel (15 at 96 dots per inch); results are rounded to
// the nearest pixel or twip, halves to even.
namespace Twips {
inline constexpr double DefaultPerPixel = 15.0;

// Twips per pixel for a screen of the given logical dots per inch; the
// default where the screen reports none.
inline double PerPixelAt(double dotsPerInch) { return dotsPerInch > 0.0 ? 1440.0 / dotsPerInch : DefaultPerPixel; }

inline int ToPixels(double twips, double perPixel) { return static_cast<int>(std::nearbyint(twips / perPixel)); }

inline int ToTwips(double pixels, double perPixel) { return static_cast<int>(std::nearbyint(pixels * perPixel)); }
}  // namespace Twips
