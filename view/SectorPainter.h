#pragma once

#include "view/CellGrid.h"

// Paints the current owner into the sector under the pointer and its brush
// neighbours, and stores it in OwnerGrid. Reads CurrentOwner at every paint;
// the window hands it the cells and the brush size.
class SectorPainter {
public:
    // Set by every paint, cleared by a pointer release; lives for the program.
    static bool PointerPressed;

    // Paint at (x, y), the pointer position in the client area in twips, with
    // the brush at BrushSize1's position (0..4 for the sizes "1".."5").
    static void PaintAt(CellGrid& cells, double x, double y, int brushPosition);

    // Paint as a press on that sector's cell does, without touching
    // PointerPressed: nothing on a locked cell, else the brush and MapChanged.
    static void PaintSector(CellGrid& cells, int sector, int brushPosition);

    // The cell under (x, y): the highest-numbered sector cell whose left and
    // top both lie strictly before the point; -1 when there is none.
    static int HitTest(const CellGrid& cells, double x, double y);

private:
    static int SectorCellCount(const CellGrid& cells);
    static void PaintBrush(CellGrid& cells, int hit, int owner, int brushPosition);
};
