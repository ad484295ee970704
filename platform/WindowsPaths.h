#pragma once

#include <optional>
#include <string>

// Paths as the wide-character file calls of Windows take them.
namespace WindowsPaths {
// path (UTF-8) in UTF-16; empty when path is empty or not valid UTF-8.
std::wstring Wide(const std::string& utf8);
// The long form of a full path ("\\\\?\\C:\\..." or "\\\\?\\UNC\\..."), which
// is not held to the old 260-character limit; empty when path has no full form.
std::wstring LongPath(const std::wstring& path);
std::wstring DirectoryOf(const std::wstring& path);
std::wstring NameOf(const std::wstring& path);
// The file a save replaces: path itself, or the end of the chain of symbolic
// links it starts (which need not exist yet); nothing for a loop.
std::optional<std::wstring> FinalTarget(std::wstring path);
}  // namespace WindowsPaths
