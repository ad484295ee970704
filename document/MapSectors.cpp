#include "document/MapSectors.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"

#include <algorithm>

namespace MapModule {

std::int64_t SectorsOnMap()
{
    if (MapWidth <= 0 || MapHeight <= 0)
        return 0;
    return std::min<std::int64_t>(SectorCount(), OwnerGridArray::Capacity);
}

CellPort* CellFor(std::int64_t index)
{
    CellPort* cells = Ports().cells;
    if (cells == nullptr || index < 0 || index >= cells->CellCount())
        return nullptr;
    return cells;
}

void RecolourCells()
{
    const std::int64_t count = SectorsOnMap();
    for (std::int64_t s = 0; s < count; ++s) {
        const std::int32_t owner = OwnerGrid.At(s);
        if (!IsOwner(owner))
            continue;
        if (CellPort* cells = CellFor(s))
            cells->SetCellColor(static_cast<int>(s), OwnerTable[static_cast<std::size_t>(owner)].cellColor);
    }
}

}  // namespace MapModule
