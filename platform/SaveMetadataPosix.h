#pragma once

#include "platform/FileBytes.h"

#include <string>
#include <sys/stat.h>

// What a saved map keeps of the file it replaces.
namespace SaveMetadata {
// Copies the old file's owner, group and extended attributes (its ACL among
// them) onto the new file open as temp, as far as the system allows; what it
// could not copy goes to notKept. Returns the mode for the new file: never
// wider than the old file's, so a group that could not be kept gets no more
// than the old file gave others. The old file is name in folder, also reached
// as path; old is its stat.
mode_t KeptMode(int temp, int folder, const std::string& name, const std::string& path, const struct stat& old,
                FileBytes::NotKept& notKept);
}  // namespace SaveMetadata
