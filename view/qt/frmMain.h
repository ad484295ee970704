#pragma once

#include "components/ProgramCaption.h"
#include "components/qt/WindowBackground.h"
#include "view/CellGrid.h"
#include "view/MapWindowContext.h"
#include "view/qt/MapKeyboardInput.h"

#include <QRect>
#include <QWidget>

#include <utility>
#include <vector>

class QPainter;

// The map editing window: one filled square per sector, all drawn in one
// paint from the cell records of its CellGrid. The cells' pixel rectangles
// are worked out once when the grid is built (again when the screen's scale
// changes, or for a cell that moves); a paint draws only the cells inside
// the region it repaints, and a changed cell asks for its own rectangle only. The frame normally hosts it as
// the widget of a QMdiSubWindow (QMdiArea::addSubWindow), then calls Build().
class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* DefaultCaption = ProgramCaption;

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
    // BrushSize1's position on the frame (0..4), 0 without a frame.
    int BrushSizePosition() const;
    // The cells painted by the last paint (for checks of what a paint costs).
    int LastPaintedCells() const { return lastPaintedCells_; }
    const MapKeyboardInput& Keyboard() const { return keyboard_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCellChanged(int index);
    QRect ComputeCellRect(int index, double twipsPerPixel) const;
    // Works the rectangles out at the screen's scale; true when it changed.
    bool UpdatePixelRects();
    static bool IsRowOrdered(const std::vector<QRect>& rects);
    // The index range [first, end) of the cells that may meet an area.
    std::pair<std::size_t, std::size_t> CellsAcross(const QRect& area) const;
    void RequestRepaint(const QRect& rect);
    void PaintCell(QPainter& painter, const CellRecord& cell, const QRect& rect) const;
    void PaintAtPixel(QPointF position);
    void SetOuterSizeTwips(int widthTwips, int heightTwips);

    void DisableMapCommands();
    void Unregister();

    MapWindowContext context_;
    CellGrid cells_;
    WindowBackground background_;
    MapKeyboardInput keyboard_;
    bool building_ = false;
    // The cells' rectangles in pixels at rectScale_ twips per pixel.
    std::vector<QRect> pixelRects_;
    double rectScale_ = 0.0;
    // True when the rectangles' tops and bottoms never decrease with the
    // index (rows laid out top to bottom), which lets a paint skip rows.
    bool rowOrdered_ = false;
    int lastPaintedCells_ = 0;
    // What has changed since the last paint, as one rectangle.
    QRect pendingRepaint_;
};
