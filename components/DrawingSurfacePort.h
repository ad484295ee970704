#pragma once

#include "base/ColorWord.h"

// A target that the gradient painter draws on. The painter renders into an
// off-screen image made for this surface, band by band, and copies that image
// onto the surface in one block; the image lives from CreateOffscreen to
// ReleaseOffscreen, both within one painting call.
class DrawingSurfacePort {
public:
    virtual ~DrawingSurfacePort() = default;

    // Makes a width x height off-screen image; false when it cannot be made.
    virtual bool CreateOffscreen(int width, int height) = 0;
    // Fills [left, right) x [top, bottom) of the off-screen image with an RGB
    // colour; whatever lies outside the image is not drawn.
    virtual void FillOffscreen(int left, int top, int right, int bottom, ColorWord rgb) = 0;
    // Copies the whole off-screen image onto the surface with its top left at x, y.
    virtual void CopyOffscreen(int x, int y) = 0;
    virtual void ReleaseOffscreen() = 0;
};
