#include "platform/SaveTemporaryWindows.h"

#include "platform/WindowsPaths.h"

#include <cstddef>
#include <string_view>

namespace SaveTemporary {
namespace {

using WindowsPaths::DirectoryOf;
using WindowsPaths::NameOf;

constexpr std::wstring_view Mark = L".gridforge-save-";
constexpr std::size_t Digits = 6;
constexpr std::size_t NameMax = 255;  // UTF-16 units in one name

std::wstring DigitsOf(ULONGLONG value)
{
    std::wstring digits;
    for (std::size_t i = 0; i < Digits; ++i, value /= 10)
        digits += static_cast<wchar_t>(L'0' + value % 10);
    return digits;
}

// How many UTF-16 units from the start of name fit in room units and, in
// UTF-8, in room bytes (the limit of file systems that count bytes, such as
// shares served from Linux); a surrogate pair is never split.
std::size_t FittingPrefix(const std::wstring& name, std::size_t room)
{
    std::size_t units = 0;
    std::size_t bytes = 0;
    while (units < name.size()) {
        const wchar_t c = name[units];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && units + 1 < name.size();
        const std::size_t width = pair ? 2 : 1;
        const std::size_t utf8 = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (units + width > room || bytes + utf8 > room)
            break;
        units += width;
        bytes += utf8;
    }
    return units;
}

// The temporary names of target without their digits; whether the whole
// name is in them.
std::wstring Stem(const std::wstring& target, bool& whole)
{
    const std::wstring name = NameOf(target);
    const std::size_t kept = FittingPrefix(name, NameMax - 1 - Mark.size() - Digits);
    whole = kept == name.size();
    return L"." + name.substr(0, kept) + std::wstring(Mark);
}

}  // namespace

HANDLE Create(const std::wstring& target, std::wstring& tempPath)
{
    bool whole = false;
    const std::wstring stem = DirectoryOf(target) + L"\\" + Stem(target, whole);
    const ULONGLONG seed = ::GetTickCount64() ^ (static_cast<ULONGLONG>(::GetCurrentProcessId()) << 20);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem;
        tempPath += DigitsOf(seed + attempt * 7919u);
        const HANDLE temp = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (temp != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return temp;
    }
    return INVALID_HANDLE_VALUE;
}

void RemoveLeftovers(const std::wstring& target)
{
    bool whole = false;
    const std::wstring stem = Stem(target, whole);
    if (!whole)
        return;
    const std::wstring folder = DirectoryOf(target) + L"\\";
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + stem + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring_view entry(found.cFileName);
        if (entry.size() != stem.size() + Digits || entry.substr(0, stem.size()) != stem ||
            entry.substr(stem.size()).find_first_not_of(L"0123456789") != std::wstring_view::npos ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
            continue;
        // Opened without sharing: refused while any program holds it open,
        // removed when the handle closes otherwise.
        const HANDLE leftover = ::CreateFileW((folder + std::wstring(entry)).c_str(), DELETE, 0, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
                                              nullptr);
        if (leftover != INVALID_HANDLE_VALUE)
            ::CloseHandle(leftover);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace SaveTemporary
