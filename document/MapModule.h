#pragma once

#include "document/CellPort.h"
#include "document/FileDialogPort.h"
#include "document/LockBoxPort.h"
#include "document/MapWindowPort.h"
#include "document/MessageBoxPort.h"
#include "document/OwnerGridArray.h"
#include "document/ShownPathPort.h"

#include <cstdint>
#include <string>

// The one map of the program: process-wide values and the routines that work
// on them. Windows reach the routines' needs through the ports below.
namespace MapModule {

inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;
inline constexpr std::int32_t OwnerNone = 900;

extern std::int32_t MapWidth;
extern std::int32_t MapHeight;
extern OwnerGridArray OwnerGrid;
extern std::int16_t MapChanged;  // 0 unchanged, -1 changed; test for exactly -1
extern std::int32_t CurrentOwner;
extern std::string CurrentFileName;
// True while the map on screen was loaded from CurrentFileName or saved to it;
// a new map keeps the file name but not this tie.
extern bool MapTiedToCurrentFile;

// The number of sectors N = MapWidth x MapHeight, computed without overflow.
std::int64_t SectorCount();

// The windows the routines talk to. Any of them may be null: no map window
// means no cells, and so on. The frame that assembles the program fills these
// in; tests use fakes.
struct PortSet {
    CellPort* cells = nullptr;
    MapWindowPort* mapWindow = nullptr;
    LockBoxPort* lockBox = nullptr;
    FileDialogPort* fileDialog = nullptr;
    MessageBoxPort* messages = nullptr;
    // Without it a path is shown as it was handed in.
    const ShownPathPort* shownPaths = nullptr;
};
PortSet& Ports();

// Returns every value and port to its start-up state (for tests).
void ResetDocument();

}  // namespace MapModule
