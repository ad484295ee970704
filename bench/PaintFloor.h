#pragma once

#include "components/qt/WindowBackground.h"

#include <QColor>
#include <QRect>
#include <QWidget>

#include <vector>

class frmMain;

// The cheapest picture of a map window that Qt offers: the same background
// image, then one fillRect per cell from rectangles and colours worked out
// beforehand. It stands in a sub-window of its own beside the map window's,
// at the same size, so that both paint through the same path.
class PaintFloor : public QWidget {
public:
    explicit PaintFloor(const frmMain& map);
    ~PaintFloor() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<QRect> rects_;
    std::vector<QColor> colors_;
    WindowBackground background_;
};
