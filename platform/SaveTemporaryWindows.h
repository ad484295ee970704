#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

// The hidden file a save writes the map to before it takes the map's place,
// beside the target (named as TemporaryName says). A save holds it open from
// its creation until it has taken the target's place, so that a later save,
// which removes a leftover only when it can open it exclusively, can tell the
// leftover of a killed save from a file still being saved.
namespace SaveTemporary {
// Creates a new temporary file beside target (a full path in its long form)
// with the hidden attribute and the security descriptor security gives (the
// folder's when null), open for writing, renaming and setting its access
// list, owner and group; its path goes to tempPath.
HANDLE Create(const std::wstring& target, std::wstring& tempPath, SECURITY_ATTRIBUTES* security);
// Removes the temporary files of earlier saves of target that no program
// holds open any longer; nothing else.
void RemoveLeftovers(const std::wstring& target);
}  // namespace SaveTemporary
