#pragma once

#include "platform/FileHandle.h"

#include <string>
#include <sys/types.h>

// The hidden file a save writes the map to before it takes the map's place
// (named as TemporaryName says). While a save writes it, the save holds an
// advisory lock (flock) on it, taken on a descriptor open for writing, as
// network file systems need; the system drops the lock when the program ends,
// however it ends. A later save so tells the leftover of a killed save from a
// file another save is still writing.
namespace SaveTemporary {
// Creates and locks a new temporary file for the map file name in folder,
// with the permissions mode (less the umask and as a default ACL of the
// folder gives them, as for any new file). Its name goes to tempName. An
// invalid handle, with errno set, when it could not be made.
FileHandle Create(int folder, const std::string& name, mode_t mode, std::string& tempName);
// Whether name in folder is still the file open as fd (another program may
// have removed or replaced it).
bool StillNamed(int folder, const char* name, int fd);
// Removes the temporary files of earlier saves of name in folder that no
// program holds and that have not changed for LeftoverMinutes; nothing else,
// and never a file of another name.
void RemoveLeftovers(int folder, const std::string& name);
// A save on another machine may hold its file where the locks of one machine
// do not reach the other (some SMB and FUSE mounts). Such a save writes its
// file within a second of creating it and renames it within seconds; a
// quarter of an hour also stays clear of a clock a few minutes off between
// the machines and the server that stamps the times (Kerberos, which many
// shares use, allows five). Leftovers are small and hidden, so waiting costs
// nothing.
inline constexpr int LeftoverMinutes = 15;
}  // namespace SaveTemporary
