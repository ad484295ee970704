#include "components/clsGradient.h"

#include "base/SystemColors.h"
#include "components/DrawingSurfacePort.h"

#include <cmath>
#include <cstdint>

namespace {
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

double ValidDensity(double twipsPerPixel)
{
    return twipsPerPixel > 0.0 ? twipsPerPixel : clsGradient::DefaultTwipsPerPixel;
}
}

clsGradient::clsGradient(double twipsPerPixelX, double twipsPerPixelY)
{
    SetTwipsPerPixel(twipsPerPixelX, twipsPerPixelY);
}

void clsGradient::SetTwipsPerPixel(double x, double y)
{
    twipsX_ = ValidDensity(x);
    twipsY_ = ValidDensity(y);
}

void clsGradient::SetRectangle(int Left, int Top, int Width, int Height)
{
    left_ = Twips::ToPixels(Left, twipsX_);
    top_ = Twips::ToPixels(Top, twipsY_);
    right_ = RoundEven(Width / twipsX_ + left_);
    bottom_ = RoundEven(Height / twipsY_ + top_);
}

int clsGradient::BandSize(int extent)
{
    const int size = RoundEven(extent / 255.0);
    return size == 0 ? 1 : size;
}

void clsGradient::Gradation(DrawingSurfacePort* target)
{
    DrawingSurfacePort* surface = target != nullptr ? target : hdc_;
    const int width = right_ - left_;
    const int height = bottom_ - top_;
    // An empty or inverted rectangle has nothing to paint, and the colour
    // step must not divide by a zero extent.
    if (surface == nullptr || width <= 0 || height <= 0)
        return;
    if (!surface->CreateOffscreen(width, height))
        return;
    PaintBands(*surface, width, height);
    surface->CopyOffscreen(left_, top_);
    surface->ReleaseOffscreen();
}

void clsGradient::PaintBands(DrawingSurfacePort& surface, int width, int height) const
{
    const bool across = direction_ == 0;
    const int extent = across ? width : height;
    const int step = BandSize(extent);

    int r0, g0, b0, r1, g1, b1;
    SplitColor(startColor_, r0, g0, b0);
    SplitColor(endColor_, r1, g1, b1);
    const int dr = r0 - r1;
    const int dg = g0 - g1;
    const int db = b0 - b1;
    int red = r0, green = g0, blue = b0;

    auto channel = [extent](int o, int difference, int end) {
        const std::int64_t product = static_cast<std::int64_t>(extent - o) * difference;
        return RoundEven(static_cast<double>(product) / extent + end);
    };

    int bandStart = 0;
    for (int o = 0; o <= extent; o += step) {
        const int bandEnd = bandStart + step;
        const ColorWord color = ColorWord::Rgb(red, green, blue);
        if (across)
            surface.FillOffscreen(bandStart, 0, bandEnd, height, color);
        else
            surface.FillOffscreen(0, bandStart, width, bandEnd, color);
        bandStart = bandEnd;
        red = channel(o, dr, r1);
        green = channel(o, dg, g1);
        blue = channel(o, db, b1);
    }
}

void clsGradient::SplitColor(ColorWord color, int& red, int& green, int& blue)
{
    const ColorWord rgb = ResolveColor(color);
    red = rgb.Red();
    green = rgb.Green();
    blue = rgb.Blue();
}
