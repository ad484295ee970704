#pragma once

#include <string>

// The level-data sections built from the document: ASCII, CR LF between
// lines, every row ending in a space, no line break after the last row.
namespace MapModule {
std::string BuildTypMapText();
std::string BuildOwnMapText();
std::string BuildHgtMapText();
std::string BuildBlgMapText();
// typ_map, own_map, hgt_map and blg_map joined by CR LF CR LF.
std::string BuildLevelText();
}  // namespace MapModule
