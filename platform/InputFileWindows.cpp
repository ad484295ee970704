// Reading a file on Windows: a handle from CreateFileW on the long form of the
// wide-character path, as the save writes it, so that a map saved in a folder
// deeper than the old 260-character limit opens again.
#include "platform/InputFile.h"

#include "platform/WindowsPaths.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <utility>

InputFile::InputFile(const std::string& path)
{
    const std::wstring widePath = WindowsPaths::LongPath(WindowsPaths::Wide(path));
    if (widePath.empty())
        return;
    FileHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    // Only files on a disk: no pipes, consoles or devices.
    if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return;
    file_ = std::move(file);
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file_.Get(), &size))
        size_ = static_cast<std::uintmax_t>(size.QuadPart);
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size)
{
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD count = 0;
    if (!::ReadFile(file_.Get(), buffer, chunk, &count, nullptr))
        return -1;
    return static_cast<std::ptrdiff_t>(count);
}
