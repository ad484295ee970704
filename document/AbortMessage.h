#pragma once

#include <string>

// What a load or a save tells the user when it stops.
namespace MapModule {
// The "中止" box with the error icon and OK, through the message box port.
void ShowAbort(const std::string& text);
// The path as the user's system writes it (the shown-path port), or as given.
std::string Shown(const std::string& path);
}  // namespace MapModule
