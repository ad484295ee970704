#pragma once

#include "components/clsGradient.h"

#include <QImage>

class QPainter;
class QWidget;

// The four windows with a gradient background, each with its colours.
enum class BackgroundKind { MapWindow, MapSizeDialog, ReplaceDialog, AboutBox };

// A window's painted background: PaintBackground renders the gradient for
// the window's current client size into a kept image (persistent drawing) and
// asks the window to repaint; the window's paintEvent draws the image first.
class WindowBackground {
public:
    explicit WindowBackground(BackgroundKind kind);

    void PaintBackground(QWidget& window);
    void Draw(QPainter& painter) const;
    const QImage& Image() const { return image_; }

private:
    BackgroundKind kind_;
    QImage image_;
    clsGradient painter_;
};
