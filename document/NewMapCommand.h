#pragma once

#include <cstdint>

namespace MapModule {

inline constexpr std::int32_t NewMapMinSize = 10;
inline constexpr std::int32_t NewMapMaxSize = 50;

// Starts a new map of width x height sectors: sets the sizes, replaces the
// map window by a fresh one and gives every grid entry to owner 0.
// When the open map window refuses to close (its changed-map question answered
// No), nothing changes: the old sizes are put back and false is returned.
// Sizes outside 10..50 are refused the same way, since the grid holds no more.
bool StartNewMap(std::int32_t width, std::int32_t height);

}  // namespace MapModule
