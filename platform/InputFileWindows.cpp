// Reading a file on Windows: a handle from CreateFileW on the long form of the
// wide-character path, as the save writes it, so that a map saved in a folder
// deeper than the old 260-character limit opens again.
#include "platform/InputFile.h"

#include "platform/WindowsPaths.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {

HANDLE HandleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

InputFile::InputFile(const std::string& path)
{
    const std::wstring widePath = WindowsPaths::LongPath(WindowsPaths::Wide(path));
    if (widePath.empty())
        return;
    const HANDLE file = ::CreateFileW(widePath.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // Only files on a disk: no pipes, consoles or devices.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size))
        size_ = static_cast<std::uintmax_t>(size.QuadPart);
}

InputFile::~InputFile()
{
    if (IsOpen())
        ::CloseHandle(HandleOf(handle_));
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size)
{
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD count = 0;
    if (!::ReadFile(HandleOf(handle_), buffer, chunk, &count, nullptr))
        return -1;
    return static_cast<std::ptrdiff_t>(count);
}
