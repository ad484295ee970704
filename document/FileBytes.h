#pragma once

#include <optional>
#include <string>
#include <string_view>

// Whole-file byte input and output for the map file. Paths are UTF-8. Each
// system has its own implementation in platform/.
namespace FileBytes {
// The bytes of a regular file; nothing when it cannot be opened or read.
std::optional<std::string> ReadAll(const std::string& path);
// Writes a temporary file next to path, syncs it, gives it the permissions
// of the file it replaces (or the default ones for a new file) and renames
// it over path. On any failure the temporary file is removed, path is left
// as it was, and the result is false.
bool WriteAtomically(const std::string& path, std::string_view bytes);
}  // namespace FileBytes
