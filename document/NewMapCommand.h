#pragma once

#include <cstdint>

namespace MapModule {

inline constexpr std::int32_t NewMapMinSize = 10;
inline constexpr std::int32_t NewMapMaxSize = 50;

// Starts a new map of width x height sectors: closes the map window, sets the
// sizes, builds a fresh window and gives every grid entry to owner 0.
// When the open map window refuses to close (its changed-map question answered
// No), nothing has changed and false is returned.
// Sizes outside 10..50 are refused the same way, since the grid holds no more.
bool StartNewMap(std::int32_t width, std::int32_t height);

}  // namespace MapModule
