#pragma once

#include "components/qt/WindowBackground.h"
#include "view/CellGrid.h"
#include "view/MapWindowContext.h"

#include <QWidget>

// The map editing window: one filled square per sector, all drawn in one
// paint from the cell records of its CellGrid. The frame normally hosts it as
// the widget of a QMdiSubWindow (QMdiArea::addSubWindow), then calls Build().
class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* DefaultCaption = "Gridforge First Release Edition";

    explicit frmMain(const MapWindowContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    // Builds the grid for MapWidth x MapHeight, hands the cells to the
    // document, sizes the window (the QMdiSubWindow around it when there is
    // one) and updates the frame. On failure it shows the "ERROR" message,
    // closes the window through CloseWindow() and returns false.
    bool Build();

    // Asks the window to close through its ordinary close path (the
    // QMdiSubWindow around it when there is one). False when the user refused.
    bool CloseWindow();

    CellGrid& Cells() { return cells_; }
    const CellGrid& Cells() const { return cells_; }

    // Twips per pixel of the window's screen (Twips::ScreenPerPixel).
    double TwipsPerPixel() const;
    // A cell's rectangle in pixels of the client area.
    QRect CellRectPixels(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCellChanged(int index);
    void PaintAtPixel(QPointF position);
    void SetOuterSizeTwips(int widthTwips, int heightTwips);
    int ToPixels(double twips) const;
    void DisableMapCommands();
    void Unregister();

    MapWindowContext context_;
    CellGrid cells_;
    WindowBackground background_;
    bool building_ = false;
};
