#pragma once

#include "components/DrawingSurfacePort.h"

#include <QImage>
#include <QPainter>

#include <memory>

class QPaintDevice;

// A drawing surface over a Qt paint device (an image or a pixmap). The
// off-screen image is a QImage made and released within one painting call;
// the copy replaces the target's pixels like a plain block transfer.
class QtDrawingSurface : public DrawingSurfacePort {
public:
    explicit QtDrawingSurface(QPaintDevice& target);
    ~QtDrawingSurface() override;

    bool CreateOffscreen(int width, int height) override;
    void FillOffscreen(int left, int top, int right, int bottom, ColorWord rgb) override;
    void CopyOffscreen(int x, int y) override;
    void ReleaseOffscreen() override;

private:
    QPaintDevice& target_;
    QImage offscreen_;
    // One painter serves all the bands of a call; it ends before the copy.
    std::unique_ptr<QPainter> bandPainter_;
};
