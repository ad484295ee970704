#pragma once

#include "document/CellPort.h"

#include <cstdint>

// Bounds shared by the routines that walk the map's sectors.
namespace MapModule {
// Number of sectors the routines visit: 0 when a size is 0 or negative, and
// never more than the grid holds.
std::int64_t SectorsOnMap();
// The cell port when it has a cell for sector index, else null.
CellPort* CellFor(std::int64_t index);
// Gives every cell of the map the colour of its sector's owner; a value that
// is not an owner leaves its cell as it is.
void RecolourCells();
}  // namespace MapModule
