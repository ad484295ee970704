#pragma once

// The one entry of the map file dialogs' filter, and the extension a name
// typed without one gets.
namespace FileDialogFilter {
inline constexpr const char* Name = "Gridforge(*.kxgf)";
inline constexpr const char* Pattern = "*.kxgf";
inline constexpr const char* Extension = "kxgf";
}  // namespace FileDialogFilter
