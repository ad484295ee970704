#pragma once

#include <cstdint>

// Style bits and drawing flags of the status window, and the caller codes
// that choose them.
namespace StatusBarStyles {
inline constexpr std::uint32_t BaseWindowStyle = 0x56000800u;  // child, visible, clipping, tooltips
inline constexpr std::uint32_t SizeGrip = 0x100u;
inline constexpr std::uint32_t PlaceTop = 0x1u;
inline constexpr std::uint32_t PlaceBottom = 0x3u;
inline constexpr std::uint32_t PlaceLeft = 0x81u;
inline constexpr std::uint32_t PlaceRight = 0x83u;
inline constexpr std::uint32_t PlacementMask = 0x83u;

inline constexpr std::uint32_t Sunken = 0x0u;
inline constexpr std::uint32_t NoBorders = 0x100u;
inline constexpr std::uint32_t Raised = 0x200u;
inline constexpr std::uint32_t DrawFlagsMask = 0xFF00u;

inline constexpr std::uint32_t DefaultBackColor = 0x80000005u;  // the system window colour

// 0 sunken, 1 raised, 2 no borders, anything else sunken.
std::uint32_t DrawFlagsOf(std::int32_t drawStyle);
// 0 top, 1 right, 2 bottom, 3 left, anything else no bits (the default bottom).
std::uint32_t PlacementBitsOf(std::int32_t position);
// The whole creation style.
std::uint32_t WindowStyleOf(std::int32_t position, bool showGrip);
}
