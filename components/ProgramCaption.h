#pragma once

// The program's caption: the frame's title, and every new map window's
// caption until a file names the window.
inline constexpr char ProgramCaption[] = "Gridforge First Release Edition";
