#pragma once

#include "view/CellGrid.h"
#include "view/FrameWindowPort.h"

#include <functional>

// Builds the sector grid of the map window for MapWidth x MapHeight: places
// and colours one cell per sector, fills in the frame's size labels, sizes the
// window and enables the map commands. Stops at the first failure. What a new
// grid means for the document (unchanged, locked) is MapWindowBuilt's.
class MapGridBuilder {
public:
    // Receives the window's outer size in twips.
    using SizeWindow = std::function<void(int widthTwips, int heightTwips)>;

    // What the map window shows when a build fails.
    static constexpr const char* FailureTitle = "ERROR";
    static constexpr const char* FailureText =
        "Map size was very small!! Load is so bad...\r\nPlease select File->New... and select the Mapsize";

    // The cell that stands at a sector, laid out row by row in twips.
    static int CellLeft(int index, int width, int cellSize) { return (index % width + 2) * cellSize; }
    static int CellTop(int index, int width, int cellSize) { return (index / width + 2) * cellSize; }

    // False (with nothing built) for a width or height below 1 or more
    // sectors than the grid can hold; false too when a cell cannot be made.
    static bool Build(CellGrid& cells, FrameWindowPort* frame, const SizeWindow& sizeWindow);

private:
    static bool PlaceCells(CellGrid& cells, int width, int sectorCount);
};
