#pragma once

// Replacing the map window, as a new map and a load do it.
namespace MapModule {
// Asks the open map window to close; true when none is left open.
bool CloseMapWindow();
// Builds a map window for MapWidth x MapHeight and, when its grid stands,
// applies MapWindowBuilt. False when there is no window or the build failed.
bool OpenMapWindow();
// A freshly built grid shows an unchanged map, locked at once when Check1 is 1.
void MapWindowBuilt();
}  // namespace MapModule
