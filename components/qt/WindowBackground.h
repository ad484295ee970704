#pragma once

#include "components/clsGradient.h"

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;
class QWidget;

// The four windows with a gradient background, each with its colours.
enum class BackgroundKind { MapWindow, MapSizeDialog, ReplaceDialog, AboutBox };

// A window's painted background: PaintBackground takes the window's current
// client size and asks the window to repaint; the gradient is rendered into
// a kept image (persistent drawing) before it is next drawn or read, so that
// several resizes between two paints render it once. The window's paintEvent
// draws the image first.
class WindowBackground {
public:
    explicit WindowBackground(BackgroundKind kind);

    void PaintBackground(QWidget& window);
    void Draw(QPainter& painter) const;
    const QImage& Image() const;

private:
    void Render() const;

    BackgroundKind kind_;
    QSize size_;
    QColor clearColor_;
    double twipsPerPixel_ = clsGradient::DefaultTwipsPerPixel;
    mutable bool pending_ = false;
    mutable QImage image_;
    mutable clsGradient painter_;
};
