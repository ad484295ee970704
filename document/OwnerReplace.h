#pragma once

#include <cstdint>

namespace MapModule {
// Sector by sector, asking "置換しますか?" for each unlocked sector of source.
void ReplaceOwnerEach(std::int32_t source, std::int32_t target);
// Every unlocked sector of source at once.
void ReplaceOwnerAll(std::int32_t source, std::int32_t target);
}  // namespace MapModule
