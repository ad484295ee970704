#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

// The hidden file a save writes the map to before it takes the map's place,
// beside the target (named as TemporaryName says). A save holds
// it open without sharing while it writes it, so that a later save can tell
// the leftover of a killed save from a file still being written.
namespace SaveTemporary {
// Creates a new temporary file beside target (a full path in its long form)
// with the hidden attribute, open for writing (and for setting its access
// list) only by the caller; its path goes to tempPath.
HANDLE Create(const std::wstring& target, std::wstring& tempPath);
// Removes the temporary files of earlier saves of target that no program
// holds open any longer; nothing else.
void RemoveLeftovers(const std::wstring& target);
}  // namespace SaveTemporary
