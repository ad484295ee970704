#pragma once

#include "base/ColorWord.h"
#include "base/Twips.h"

class DrawingSurfacePort;

// Paints a two-colour linear gradient as solid bands into a rectangle of a
// drawing surface. Direction 0 runs from left (start) to right (end); any
// other direction runs from top (start) to bottom (end).
class clsGradient {
public:
    static constexpr double DefaultTwipsPerPixel = Twips::DefaultPerPixel;

    explicit clsGradient(double twipsPerPixelX = DefaultTwipsPerPixel,
                         double twipsPerPixelY = DefaultTwipsPerPixel);

    // The screen's pixel density; a value that is not positive means 15.
    void SetTwipsPerPixel(double x, double y);

    // Takes the rectangle in twips and keeps it in pixels.
    void SetRectangle(int Left, int Top, int Width, int Height);

    void StartColor(ColorWord NewValue) { startColor_ = NewValue; }
    ColorWord StartColor() const { return startColor_; }
    void EndColor(ColorWord NewValue) { endColor_ = NewValue; }
    ColorWord EndColor() const { return endColor_; }
    void hdc(DrawingSurfacePort* NewValue) { hdc_ = NewValue; }
    DrawingSurfacePort* hdc() const { return hdc_; }
    void Direction(int NewValue) { direction_ = NewValue; }
    int Direction() const { return direction_; }

    int RectLeft() const { return left_; }
    int RectTop() const { return top_; }
    int RectRight() const { return right_; }
    int RectBottom() const { return bottom_; }

    // Paints on the given surface, or on the hdc property's surface when the
    // argument is null. An empty rectangle paints nothing.
    void Gradation(DrawingSurfacePort* target);

    // The band size for an extent: extent / 255 rounded, at least 1.
    static int BandSize(int extent);

private:
    void PaintBands(DrawingSurfacePort& surface, int width, int height) const;
    static void SplitColor(ColorWord color, int& red, int& green, int& blue);

    int direction_ = 0;
    DrawingSurfacePort* hdc_ = nullptr;
    ColorWord startColor_{};
    ColorWord endColor_{};
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    double twipsX_ = DefaultTwipsPerPixel;
    double twipsY_ = DefaultTwipsPerPixel;
};
