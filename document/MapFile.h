#pragma once

#include "platform/FileBytes.h"

#include <cstddef>
#include <string>

// The map file: "KX-GRIDFORGE@VER1.00", "W,H", the lock value and one owner
// per line, every line ending in CR LF.
namespace MapModule {
inline constexpr const char* MapFileHeader = "KX-GRIDFORGE@VER1.00";
// The largest file a load reads: a map file is at most about 33 KB, so this
// leaves room for any trailing blank space while keeping a load small and fast.
inline constexpr std::size_t MapFileSizeLimit = 4 * 1024 * 1024;

// The bytes SaveMapFile writes for the document as it stands.
std::string MapFileText();
// Writes the document to path, atomically; true when the file is complete.
// On success MapChanged = 0, CurrentFileName = path, caption = path (as
// the user reads paths: ShownPathPort).
bool SaveMapFile(const std::string& path);
// Reads path into the document and rebuilds the map window; a rejected file
// shows its message and changes nothing, and so does a map window that
// refuses to close. True when the map was loaded.
bool LoadMapFile(const std::string& path);
// How a load ended. Loaded includes a map window that could not be built for
// the file's sizes (the window said so itself).
enum class LoadStatus { Loaded, Unreadable, TooLarge, WrongHeader, WrongSize, MapWindowKept };
// LoadMapFile, telling why it stopped.
LoadStatus LoadMapFileStatus(const std::string& path);
// The same for a file already read from path (as ReadBounded gives it).
LoadStatus LoadMapFileRead(const std::string& path, const FileBytes::ReadResult& read);
// Save dialog, then SaveMapFile; a failed write is reported to the user.
void SaveMapAs();
// The plain save command: SaveMapFile to CurrentFileName while the map on
// screen is tied to it (MapTiedToCurrentFile), else SaveMapAs; a failed write
// is reported to the user.
void SaveMap();
// Closing question, open dialog, then LoadMapFile.
void OpenMap();
// Closing question, then LoadMapOrLevelText of a path handed in from outside
// (a file dropped on the frame) instead of the open dialog's.
void OpenMapFile(const std::string& path);
// The message shown when a map file could not be written: the file's path
// as the user reads it and, when the system gave one, the reason in Japanese.
void ShowSaveFailedMessage(const std::string& path, const std::string& reason = {});
}  // namespace MapModule
