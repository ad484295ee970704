#pragma once

#include <string>

// The map window as the document routines see it: close it (which asks the
// user while the map is changed, and may be refused), build it afresh for the
// current sizes, and set its caption.
class MapWindowPort {
public:
    virtual ~MapWindowPort() = default;
    // True when no map window is left open (it closed, or there was none).
    virtual bool CloseMapWindow() = 0;
    // Builds a new map window with its cells for MapWidth x MapHeight; false
    // when the build failed (the window has then closed itself).
    virtual bool OpenMapWindow() = 0;
    virtual void SetMapCaption(const std::string& caption) = 0;
};
