#pragma once

#include "view/CellGrid.h"

// Paints the current owner into the sector under the pointer and its brush
// neighbours, and stores it in OwnerGrid. Reads CurrentOwner and the frame's
// brush size afresh at every paint.
class SectorPainter {
public:
    // Set by every paint, cleared by a pointer release; lives for the program.
    static bool PointerPressed;

    // Paint at (x, y), the pointer position in the client area in twips.
    static void PaintAt(CellGrid& cells, double x, double y);

    // The cell under (x, y): the highest-numbered sector cell whose left and
    // top both lie strictly before the point; -1 when there is none.
    static int HitTest(const CellGrid& cells, double x, double y);

private:
    static int SectorCellCount(const CellGrid& cells);
    static void PaintBrush(CellGrid& cells, int hit, int owner);
};
