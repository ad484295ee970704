#pragma once

#include "document/LevelTextReader.h"

#include <string>
#include <string_view>

// A map made again from the own_map section of a level text.
namespace MapModule {
// True when bytes are a level text and not a map file: they do not start
// with the map file's header, and a line starts with "own_map=".
bool IsLevelText(std::string_view bytes);
// Puts the section's map into the owner grid and the sizes (a read that was
// not refused). Nothing else of the document changes.
void TakeOwnMap(const LevelTextReader::Result& section);
// The map file or the level text at path, told apart by IsLevelText. A
// level text opens as a new map that has not been saved: the lock box off
// (so that no owner of the outer ring is lost), a new map window that shows
// the owners, MapChanged set, and no tie to a file, so that Save asks for a
// name as after New. A refused text shows its message with the line and
// column and changes nothing, and so does a map window that refuses to close.
// Anything that is not a level text goes to LoadMapFile, which shows its own
// messages. True when a map was taken.
bool LoadMapOrLevelText(const std::string& path);
}  // namespace MapModule
