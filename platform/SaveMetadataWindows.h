#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

// What a saved map keeps of the file it replaces, as the system's own replace
// (ReplaceFileW) keeps it: the security descriptor (access list, owner and
// group), the named streams, the attributes and the creation time.
namespace SaveMetadata {
// A security descriptor whose access list lets only the user who runs the
// program read, write and delete the file, protected from the folder's
// inherited entries: the temporary file that replaces an existing map is
// created with it, so that it never allows more than the old file did, even
// when the old file's own list cannot be given to it.
class UserOnly {
public:
    UserOnly();
    UserOnly(const UserOnly&) = delete;
    UserOnly& operator=(const UserOnly&) = delete;
    // For CreateFileW; nothing (the folder's list) when it could not be made.
    SECURITY_ATTRIBUTES* Attributes() { return made_ ? &attributes_ : nullptr; }

private:
    std::vector<unsigned char> user_;  // the user's SID
    std::vector<unsigned char> list_;  // the access list
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool made_ = false;
};

// What LossesOfCopy could not give the new file.
struct Lost {
    bool accessList = false;            // temp keeps the list it was created with
    std::vector<std::wstring> streams;  // names of named streams not copied (":name:$DATA")
};
// Gives temp (open for writing, WRITE_DAC and WRITE_OWNER, at tempPath) the
// access list of the old file at path, and its owner and group where the
// system lets the user set them, then a copy of each named stream of the old
// file. Returns what it could not give.
Lost LossesOfCopy(const std::wstring& path, HANDLE temp, const std::wstring& tempPath);
// Gives temp the old file's attributes (existing) and creation time; for a
// new file (existing INVALID_FILE_ATTRIBUTES) those of a plain new file.
bool KeepAttributes(HANDLE temp, DWORD existing, const FILETIME& created);
}  // namespace SaveMetadata
