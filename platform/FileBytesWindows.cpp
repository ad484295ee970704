// Map file bytes on Windows: wide-character paths, a temporary file beside
// the target, flushed to disk and then put in the target's place in one step.
#include "document/FileBytes.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace FileBytes {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        if (!Valid())
            return true;
        const BOOL closed = ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != 0;
    }

private:
    HANDLE handle_;
};

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

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The file a link names, when path is an existing file; else path itself.
std::wstring FinalPath(const std::wstring& path)
{
    FileHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return path;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(),
                                                         static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return path;
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

// Hidden while it is written, so that an unfinished save stays out of sight.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& tempPath)
{
    const ULONGLONG seed = ::GetTickCount64() ^ (static_cast<ULONGLONG>(::GetCurrentProcessId()) << 20);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + L"." + std::to_wstring((seed + attempt * 7919u) % 1000000u);
        const HANDLE temp = ::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (temp != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return temp;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteFully(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The attributes the saved file carries: those of the file it replaces, or
// those of a plain new file.
bool SetFinalAttributes(HANDLE file, DWORD existing)
{
    FILE_BASIC_INFO info{};
    info.FileAttributes = existing == INVALID_FILE_ATTRIBUTES || existing == 0 ? FILE_ATTRIBUTE_ARCHIVE : existing;
    return ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info) != 0;
}

}  // namespace

ReadResult ReadBounded(const std::string& path, std::size_t limit)
{
    const std::wstring widePath = Wide(path);
    if (widePath.empty())
        return {};
    FileHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Only files on a disk: no pipes, consoles or devices.
    if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK)
        return {};
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) && static_cast<unsigned long long>(size.QuadPart) > limit)
        return {ReadStatus::TooLarge, {}};

    // A file may grow while it is read: the reading itself stops at the
    // first chunk that would take the bytes past the limit.
    ReadResult result{ReadStatus::Read, {}};
    std::string& bytes = result.bytes;
    bytes.reserve(limit);
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr))
            return {};
        if (count == 0)
            return result;
        if (count > limit - bytes.size())
            return {ReadStatus::TooLarge, {}};
        bytes.append(buffer.data(), count);
    }
}

bool WriteAtomically(const std::string& path, std::string_view bytes)
{
    std::wstring target = Wide(path);
    if (target.empty() || IsSeparator(target.back()))
        return false;
    target = FinalPath(target);
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;

    std::wstring tempPath;
    FileHandle temp(CreateTemporary(target, tempPath));
    if (!temp.Valid())
        return false;
    const bool written = WriteFully(temp.Get(), bytes) && ::FlushFileBuffers(temp.Get()) &&
                         SetFinalAttributes(temp.Get(), existing) && temp.Close();
    // ReplaceFileW keeps the replaced file's security settings; a new file
    // takes those of its folder.
    const bool replaced =
        written && (existing != INVALID_FILE_ATTRIBUTES
                        ? ::ReplaceFileW(target.c_str(), tempPath.c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                        : ::MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0);
    if (!replaced) {
        temp.Close();
        ::DeleteFileW(tempPath.c_str());
        return false;
    }
    return true;
}

}  // namespace FileBytes
