#pragma once

#include <string>
#include <sys/stat.h>

// What a saved map keeps of the file it replaces.
namespace SaveMetadata {
// Gives the new file open as temp the owner and the group of the old file
// (the regular file name in folder, reached as path too, described by old)
// where the system lets the user keep them, one of them where only that one
// may be kept, and a copy of the old file's extended attributes, its POSIX
// ACL among them, where the file system takes them: one it refuses is left
// out, the rest are kept. Returns the permissions the new file takes once it
// is written. They never allow more than the old file did: a group that
// could not be kept has no more rights than the old file gave others.
mode_t Keep(int temp, int folder, const std::string& name, const std::string& path, const struct stat& old);
}  // namespace SaveMetadata
