#include "document/SectorLock.h"

#include "document/MapModule.h"
#include "document/MapSectors.h"
#include "document/OwnerTable.h"

namespace MapModule {
namespace {

void LockSector(std::int64_t s, bool locked)
{
    if (CellPort* cells = CellFor(s)) {
        cells->SetCellColor(static_cast<int>(s), OwnerTable[0].cellColor);
        cells->SetCellFillStyle(static_cast<int>(s), locked ? CellPort::FillLocked : CellPort::FillSolid);
    }
    if (locked)
        OwnerGrid.Set(s, 0);
}

}  // namespace

void ApplySectorLock()
{
    const LockBoxPort* lockBox = Ports().lockBox;
    if (lockBox == nullptr)
        return;
    const int value = lockBox->Value();
    if (value != 0 && value != 1)
        return;
    if (SectorsOnMap() == 0 || SectorCount() > OwnerGridArray::Capacity)
        return;

    const bool locked = value == 1;
    const std::int64_t width = MapWidth;
    const std::int64_t height = MapHeight;
    const std::int64_t lastRow = (height - 1) * width;
    for (std::int64_t x = 0; x < width; ++x)
        LockSector(x, locked);
    for (std::int64_t x = width - 1; x >= 0; --x)
        LockSector(lastRow + x, locked);
    for (std::int64_t y = 1; y < height; ++y) {
        LockSector(y * width, locked);
        LockSector((y - 1) * width + width - 1, locked);
    }
}

}  // namespace MapModule
