#pragma once

#include <cstdint>
#include <string>

// One part of the status bar as the component keeps it.
struct STBPart {
    std::int16_t Index = 0;
    std::int32_t Right = 0;      // right edge in pixels as added
    std::int16_t Style = 0;      // 0 fixed, otherwise stretching
    std::uint32_t DrawFlags = 0; // sunken 0, raised 0x200, no borders 0x100
    std::string Text;            // UTF-8, as it came back from the code page
};
