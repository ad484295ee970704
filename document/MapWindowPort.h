#pragma once

#include <string>

// The map window as the document routines see it: close it (which asks the
// user while the map is changed, and may be refused), build it afresh for the
// current sizes, and set its caption.
class MapWindowPort {
public:
    virtual ~MapWindowPort() = default;
    virtual bool HasMapWindow() const = 0;
    // True when no map window is left open (it closed, or there was none).
    virtual bool CloseMapWindow() = 0;
    // Builds a new map window for MapWidth x MapHeight; the build clears
    // MapChanged and applies the lock when Check1 is 1.
    virtual void OpenMapWindow() = 0;
    virtual void SetMapCaption(const std::string& caption) = 0;
};
