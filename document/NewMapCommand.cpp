#include "document/NewMapCommand.h"

#include "document/MapModule.h"

namespace MapModule {

namespace {
bool IsNewMapSize(std::int32_t size) { return size >= NewMapMinSize && size <= NewMapMaxSize; }
}  // namespace

bool StartNewMap(std::int32_t width, std::int32_t height)
{
    if (!IsNewMapSize(width) || !IsNewMapSize(height))
        return false;

    const std::int32_t oldWidth = MapWidth;
    const std::int32_t oldHeight = MapHeight;
    MapWidth = width;
    MapHeight = height;

    MapWindowPort* window = Ports().mapWindow;
    if (window != nullptr) {
        if (!window->CloseMapWindow()) {
            MapWidth = oldWidth;
            MapHeight = oldHeight;
            return false;
        }
        window->OpenMapWindow();
    }
    OwnerGrid.Fill(0);
    return true;
}

}  // namespace MapModule
