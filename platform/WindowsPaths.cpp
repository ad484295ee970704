// Long paths and symbolic links on Windows.
#include "platform/WindowsPaths.h"

#include "platform/FileHandle.h"

#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace WindowsPaths {
namespace {

constexpr int MaxLinkHops = 63;  // as the system allows

// The documented layout of a symbolic link's reparse data.
struct SymbolicLinkData {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
    ULONG flags;
    WCHAR pathBuffer[1];
};
constexpr ULONG SymbolicLinkTag = 0xA000000CUL;
constexpr ULONG RelativeLinkFlag = 1;

// Where the symbolic link at path points, or nothing when path is no link.
std::optional<std::wstring> LinkTarget(const std::wstring& path)
{
    FileHandle link(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!link.Valid())
        return std::nullopt;
    std::vector<unsigned char> buffer(16 * 1024);
    DWORD size = 0;
    if (!::DeviceIoControl(link.Get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                           static_cast<DWORD>(buffer.size()), &size, nullptr) ||
        size < offsetof(SymbolicLinkData, pathBuffer))
        return std::nullopt;
    SymbolicLinkData data{};
    std::memcpy(&data, buffer.data(), offsetof(SymbolicLinkData, pathBuffer));
    if (data.tag != SymbolicLinkTag)
        return std::nullopt;
    const bool usePrint = data.printLength > 0;
    const std::size_t offset = offsetof(SymbolicLinkData, pathBuffer) + (usePrint ? data.printOffset : data.substituteOffset);
    const std::size_t bytes = usePrint ? data.printLength : data.substituteLength;
    if (offset + bytes > size)
        return std::nullopt;
    std::wstring target(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(target.data(), buffer.data() + offset, bytes);
    if (target.rfind(L"\\??\\", 0) == 0)
        target = L"\\\\?\\" + target.substr(4);
    if (data.flags & RelativeLinkFlag)
        target = DirectoryOf(path) + L"\\" + target;
    return LongPath(target);
}

}  // namespace

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

// The long form of a full path ("\\?\C:\..." or "\\?\UNC\..."), which
// is not held to the old 260-character limit; empty when path has no full form.
std::wstring LongPath(const std::wstring& path)
{
    // Made plain first, so that ".." in a link's target is resolved too.
    std::wstring plain = path;
    if (plain.rfind(L"\\\\?\\UNC\\", 0) == 0)
        plain = L"\\\\" + plain.substr(8);
    else if (plain.rfind(L"\\\\?\\", 0) == 0)
        plain = plain.substr(4);
    const DWORD length = ::GetFullPathNameW(plain.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return {};
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(plain.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return {};
    full.resize(written);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring DirectoryOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring NameOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::optional<std::wstring> FinalTarget(std::wstring path)
{
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        const std::optional<std::wstring> target = LinkTarget(path);
        if (!target)
            return path;
        if (target->empty())
            return std::nullopt;
        path = *target;
    }
    return std::nullopt;
}

}  // namespace WindowsPaths
