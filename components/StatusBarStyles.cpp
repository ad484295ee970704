#include "components/StatusBarStyles.h"

namespace StatusBarStyles {
std::uint32_t DrawFlagsOf(std::int32_t drawStyle)
{
    switch (drawStyle) {
    case 1:
        return Raised;
    case 2:
        return NoBorders;
    default:
        return Sunken;
    }
}

std::uint32_t PlacementBitsOf(std::int32_t position)
{
    switch (position) {
    case 0:
        return PlaceTop;
    case 1:
        return PlaceRight;
    case 2:
        return PlaceBottom;
    case 3:
        return PlaceLeft;
    default:
        return 0;
    }
}

std::uint32_t WindowStyleOf(std::int32_t position, bool showGrip)
{
    return BaseWindowStyle | PlacementBitsOf(position) | (showGrip ? SizeGrip : 0u);
}
}
