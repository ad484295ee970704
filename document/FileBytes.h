#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file byte input and output for the map file. Paths are UTF-8. Each
// system has its own implementation in platform/.
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
// Writes a temporary file next to path, syncs it, gives it the permissions
// of the file it replaces (or the default ones for a new file) and renames
// it over path. On any failure the temporary file is removed, path is left
// as it was, and the result is false.
bool WriteAtomically(const std::string& path, std::string_view bytes);
}  // namespace FileBytes
