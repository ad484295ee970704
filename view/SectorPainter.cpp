#include "view/SectorPainter.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"

#include <algorithm>

bool SectorPainter::PointerPressed = false;

int SectorPainter::SectorCellCount(const CellGrid& cells)
{
    // Only cells that stand for a sector of the map can be hit.
    const std::int64_t sectors = std::max<std::int64_t>(0, MapModule::SectorCount());
    return static_cast<int>(std::min<std::int64_t>(cells.CellCount(), sectors));
}

int SectorPainter::HitTest(const CellGrid& cells, double x, double y)
{
    for (int k = SectorCellCount(cells) - 1; k >= 0; --k) {
        const CellRecord& cell = cells.Cell(k);
        if (cell.left < x && cell.top < y)
            return k;
    }
    return -1;
}

void SectorPainter::PaintBrush(CellGrid& cells, int hit, int owner, int brushPosition)
{
    // BrushSize1 holds the sizes "1" to "5" at positions 0 to 4.
    const int n = std::clamp(brushPosition, 0, 4);
    const std::int64_t width = MapModule::MapWidth;
    const std::int64_t last = static_cast<std::int64_t>(SectorCellCount(cells)) - 1;
    const ColorWord color = OwnerTable[static_cast<std::size_t>(owner)].cellColor;

    for (int j = 1; j <= n; ++j) {
        const std::int64_t targets[3] = {hit + width, hit + width + j, static_cast<std::int64_t>(hit) + j};
        for (std::int64_t t : targets) {
            if (t > last)
                continue;
            const int index = static_cast<int>(t);
            if (cells.CellFillStyle(index) == CellPort::FillLocked)
                continue;
            cells.SetCellColor(index, color);
            MapModule::OwnerGrid.Set(t, owner);
        }
    }
    MapModule::OwnerGrid.Set(hit, owner);
}

void SectorPainter::PaintAt(CellGrid& cells, double x, double y, int brushPosition)
{
    PointerPressed = true;

    const int hit = HitTest(cells, x, y);
    if (hit >= 0) {
        PaintSector(cells, hit, brushPosition);
        return;
    }
    MapModule::MapChanged = MapModule::True;
}

void SectorPainter::PaintSector(CellGrid& cells, int sector, int brushPosition)
{
    if (sector >= 0 && sector < SectorCellCount(cells)) {
        if (cells.CellFillStyle(sector) == CellPort::FillLocked)
            return;
        const std::int32_t owner = MapModule::CurrentOwner;
        if (IsOwner(owner)) {
            cells.SetCellColor(sector, OwnerTable[static_cast<std::size_t>(owner)].cellColor);
            PaintBrush(cells, sector, owner, brushPosition);
        }
    }
    MapModule::MapChanged = MapModule::True;
}
