#pragma once

#include <cstdint>

// A colour as the program stores it: 0x00BBGGRR, red in the low byte.
// A word with the top bit set names a system colour by its index.
struct ColorWord {
    std::uint32_t value = 0;

    static constexpr std::uint32_t SystemFlag = 0x80000000u;

    static constexpr ColorWord Rgb(int red, int green, int blue)
    {
        return ColorWord{static_cast<std::uint32_t>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16))};
    }
    static constexpr ColorWord System(int index)
    {
        return ColorWord{SystemFlag | static_cast<std::uint32_t>(index)};
    }

    constexpr bool IsSystem() const { return (value & SystemFlag) != 0; }
    constexpr int SystemIndex() const { return static_cast<int>(value & 0x7FFFFFFFu); }
    constexpr int Red() const { return static_cast<int>(value & 0xFF); }
    constexpr int Green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int Blue() const { return static_cast<int>((value >> 16) & 0xFF); }

    friend constexpr bool operator==(ColorWord, ColorWord) = default;
};

// System colour indexes the program uses.
namespace SystemColor {
inline constexpr int ActiveCaption = 2;
inline constexpr int Window = 5;
inline constexpr int Highlight = 13;
inline constexpr int HighlightText = 14;
inline constexpr int ButtonFace = 15;
}
