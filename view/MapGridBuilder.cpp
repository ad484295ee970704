#include "view/MapGridBuilder.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"

namespace {

const ColorWord StartColor = OwnerTable[0].cellColor;

}  // namespace

bool MapGridBuilder::PlaceCells(CellGrid& cells, int width, int sectorCount)
{
    for (int k = 0; k < CellGrid::DesignCellCount; ++k)
        cells.SetCellColor(k, StartColor);
    for (int k = 0; k < CellGrid::DesignCellCount; ++k) {
        const int size = cells.Cell(0).width;
        if (!cells.MoveCell(k, CellLeft(k, width, size), CellTop(k, width, size), size, size))
            return false;
    }
    // A one-sector map has no sector for the second design cell.
    for (int k = sectorCount; k < CellGrid::DesignCellCount; ++k)
        cells.SetCellVisible(k, false);

    for (int k = CellGrid::DesignCellCount; k < sectorCount; ++k) {
        const std::optional<int> created = cells.CreateCopyOfCell0();
        if (!created || *created != k)
            return false;
        const int size = cells.Cell(0).width;
        const int height = cells.Cell(0).height;
        if (!cells.MoveCell(k, CellLeft(k, width, size), CellTop(k, width, height), size, height))
            return false;
        cells.SetCellColor(k, StartColor);
        cells.SetCellOpaque(k, true);
        cells.SetCellVisible(k, true);
    }
    return true;
}

bool MapGridBuilder::Build(CellGrid& cells, FrameWindowPort* frame, const SizeWindow& sizeWindow)
{
    const int width = MapModule::MapWidth;
    const int height = MapModule::MapHeight;
    const std::int64_t sectorCount = MapModule::SectorCount();
    if (width < 1 || height < 1 || sectorCount > CellGrid::MaxCells || cells.CellCount() < 1)
        return false;

    cells.DiscardCreatedCells();
    if (!PlaceCells(cells, width, static_cast<int>(sectorCount)))
        return false;

    if (frame)
        frame->SetMapSizeLabels(width, height);

    const CellRecord& first = cells.Cell(0);
    const CellRecord& last = cells.Cell(static_cast<int>(sectorCount) - 1);
    if (sizeWindow)
        sizeWindow(3 * first.width + last.left, 7 * first.height + last.top);

    if (frame)
        frame->SetMapCommandsEnabled(true);
    return true;
}
