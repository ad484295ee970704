#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Whole-file byte input and output for the map file. Paths are UTF-8. The
// bounded read is written once (FileBytes.cpp, over the system's InputFile);
// each system has its own save in platform/.
namespace FileBytes {
enum class ReadStatus { Read, Unreadable, TooLarge };
struct ReadResult {
    ReadStatus status = ReadStatus::Unreadable;
    std::string bytes;  // only when Read
};
// The bytes of a regular file of at most limit bytes, read in bounded chunks:
// memory never grows past limit bytes and one chunk, however large the file is, says it
// is, or grows while it is read. Anything but a regular file is Unreadable.
ReadResult ReadBounded(const std::string& path, std::size_t limit);

// How a write ended: Written, or why the system refused it.
enum class WriteStatus {
    Written,
    NoSpace,         // the disk or the user's quota is full
    ReadOnlyDisk,    // the file system is mounted read-only
    ReadOnlyFile,    // the file exists and the user may not write it
    InUse,           // another program holds the file open and keeps it from being replaced
    AccessDenied,    // the folder (or something on the way) may not be written
    StickyFolder,    // the folder lets only a file's owner replace it, and the file is another user's
    StickyFolderLink,  // the name is another user's symbolic link in a folder like /tmp (sticky, and all may write)
    MountPoint,      // the file is a mount point (another file is mounted on it)
    NameTooLong,     // the file name or the whole path is too long
    FolderMissing,   // a folder on the way does not exist
    IsFolder,        // the name is that of a folder
    NotAFile,        // the name is that of a device, pipe or other special file
    LinkLoop,        // symbolic links that lead in a circle, or too many of them
    DiskError,       // the device reported an input/output error
    TemporaryVanished,  // another program removed the temporary file while the save wrote it
    Other,           // any other reason
};

// What a save could not carry over from the file it replaced; the save
// itself stands.
struct NotKept {
    bool accessList = false;              // the file's own access list (POSIX ACL, Windows DACL)
    std::vector<std::string> attributes;  // the names of other extended attributes
    std::vector<std::string> streams;     // the names of named streams (Windows), in UTF-8
    bool Empty() const { return !accessList && attributes.empty() && streams.empty(); }
};

// Writes bytes to path so that path always holds either its old content or
// all of the new one.
// - A symbolic link (or a chain of them) is followed and the file at its end
//   is replaced; a link to nothing creates that file. In a folder like /tmp
//   (sticky, and all may write) only a link of the user or of the folder's
//   owner is followed, as the kernel's protected_symlinks rule does.
// - The bytes go to a hidden temporary file beside the target, are flushed
//   to the disk, take what the old file had as far as the user may keep it
//   (owner, group, permissions, ACL, other attributes) and replace it in one
//   step. A new file gets what any program's new file gets in that folder.
// - Then the leftovers of earlier saves of the same file are removed.
// A file the user may not write is refused. On a failure the target is left
// as it was and no temporary file stays. After a write, notKept (if given)
// holds what could not be kept of the old file.
WriteStatus WriteAtomically(const std::string& path, std::string_view bytes, NotKept* notKept = nullptr);
}  // namespace FileBytes
