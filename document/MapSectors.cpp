#include "document/MapSectors.h"

#include "document/MapModule.h"

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

}  // namespace MapModule
