#include "document/MapModule.h"

namespace MapModule {

std::int32_t MapWidth = 0;
std::int32_t MapHeight = 0;
OwnerGridArray OwnerGrid;
std::int16_t MapChanged = False;
std::int32_t CurrentOwner = 0;
std::string CurrentFileName;
bool MapTiedToCurrentFile = false;

std::int64_t SectorCount()
{
    return static_cast<std::int64_t>(MapWidth) * static_cast<std::int64_t>(MapHeight);
}

PortSet& Ports()
{
    static PortSet ports;
    return ports;
}

void ResetDocument()
{
    MapWidth = 0;
    MapHeight = 0;
    OwnerGrid.Fill(0);
    MapChanged = False;
    CurrentOwner = 0;
    CurrentFileName.clear();
    MapTiedToCurrentFile = false;
    Ports() = PortSet{};
}

}  // namespace MapModule
