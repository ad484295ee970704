#include "document/NewMapCommand.h"

#include "document/MapModule.h"
#include "document/MapWindowCycle.h"

namespace MapModule {

namespace {
bool IsNewMapSize(std::int32_t size) { return size >= NewMapMinSize && size <= NewMapMaxSize; }
}  // namespace

bool StartNewMap(std::int32_t width, std::int32_t height)
{
    if (!IsNewMapSize(width) || !IsNewMapSize(height))
        return false;

    if (!CloseMapWindow())
        return false;
    MapWidth = width;
    MapHeight = height;
    OpenMapWindow();
    OwnerGrid.Fill(0);
    MapTiedToCurrentFile = false;
    return true;
}

}  // namespace MapModule
