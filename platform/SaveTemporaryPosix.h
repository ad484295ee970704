#pragma once

#include <string>

// The hidden file a save writes the map to before it takes the map's place:
// ".<name>.gridforge-save-" and six random letters or digits. While a save
// writes it, the save holds an advisory lock on it (flock), which the system
// drops when the program ends however it ends; a later save can so tell the
// leftover of a killed save from a file another program is still writing.
namespace SaveTemporary {
// Creates a new temporary file for the map file name in folder, with
// permissions for its owner only, and locks it; its name goes to tempName.
// The descriptor, or -1 with errno set.
int Create(int folder, const std::string& name, std::string& tempName);
// Removes the temporary files of earlier saves of name in folder that no
// program holds any longer; nothing else, and never a file of another name.
void RemoveLeftovers(int folder, const std::string& name);
}  // namespace SaveTemporary
