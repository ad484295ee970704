#include "platform/SaveTemporaryWindows.h"

#include "platform/FileHandle.h"
#include "platform/TemporaryName.h"
#include "platform/WindowsPaths.h"

#include <cstddef>
#include <string_view>

namespace SaveTemporary {
namespace {

using WindowsPaths::DirectoryOf;
using WindowsPaths::NameOf;

constexpr std::size_t NameMax = 255;  // UTF-16 units in one name

TemporaryName<std::wstring> NamesOf(const std::wstring& target)
{
    return TemporaryName<std::wstring>(NameOf(target), NameMax);
}

}  // namespace

HANDLE Create(const std::wstring& target, std::wstring& tempPath, SECURITY_ATTRIBUTES* security)
{
    const std::wstring folder = DirectoryOf(target) + L"\\";
    const TemporaryName<std::wstring> names = NamesOf(target);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + names.Random();
        // Shared for the system's rename and replace, which open it again by
        // its name; any handle keeps another save's exclusive open out.
        const HANDLE temp = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE | DELETE | WRITE_DAC | WRITE_OWNER,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, security,
                                          CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (temp != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return temp;
    }
    return INVALID_HANDLE_VALUE;
}

void RemoveLeftovers(const std::wstring& target)
{
    const TemporaryName<std::wstring> names = NamesOf(target);
    const std::wstring folder = DirectoryOf(target) + L"\\";
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + names.Stem() + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring_view entry(found.cFileName);
        if (!names.Matches(entry) ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
            continue;
        // Opened without sharing: refused while any program holds it open,
        // removed when the handle closes otherwise.
        const FileHandle leftover(::CreateFileW((folder + std::wstring(entry)).c_str(), DELETE, 0, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
                                                nullptr));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace SaveTemporary
