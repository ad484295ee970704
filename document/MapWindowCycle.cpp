#include "document/MapWindowCycle.h"

#include "document/MapModule.h"
#include "document/SectorLock.h"

namespace MapModule {

bool CloseMapWindow()
{
    MapWindowPort* window = Ports().mapWindow;
    return window == nullptr || window->CloseMapWindow();
}

bool OpenMapWindow()
{
    MapWindowPort* window = Ports().mapWindow;
    if (window == nullptr || !window->OpenMapWindow())
        return false;
    MapWindowBuilt();
    return true;
}

void MapWindowBuilt()
{
    MapChanged = False;
    const LockBoxPort* lockBox = Ports().lockBox;
    if (lockBox != nullptr && lockBox->Value() == 1)
        ApplySectorLock();
}

}  // namespace MapModule
