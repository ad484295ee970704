// Saving the map file on Windows: wide-character paths in their long form, a
// hidden temporary file beside the target, flushed to disk and then put in
// the target's place in one step.
#include "platform/FileBytes.h"
#include "platform/ErrorReasons.h"
#include "platform/SaveTemporaryWindows.h"
#include "platform/FileHandle.h"
#include "platform/WindowsPaths.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace FileBytes {
namespace {

using WindowsPaths::NameOf;
using WindowsPaths::Wide;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

constexpr std::size_t NameMax = 255;  // UTF-16 units in one name

WriteStatus StatusOf(DWORD error)
{
    using W = WriteStatus;
    static constexpr std::pair<DWORD, WriteStatus> Reasons[] = {
        {ERROR_DISK_FULL, W::NoSpace}, {ERROR_HANDLE_DISK_FULL, W::NoSpace}, {ERROR_WRITE_PROTECT, W::ReadOnlyDisk},
        {ERROR_ACCESS_DENIED, W::AccessDenied}, {ERROR_SHARING_VIOLATION, W::InUse}, {ERROR_LOCK_VIOLATION, W::InUse},
        {ERROR_UNABLE_TO_REMOVE_REPLACED, W::InUse}, {ERROR_FILENAME_EXCED_RANGE, W::NameTooLong},
        {ERROR_BUFFER_OVERFLOW, W::NameTooLong}, {ERROR_PATH_NOT_FOUND, W::FolderMissing},
        {ERROR_FILE_NOT_FOUND, W::FolderMissing}, {ERROR_BAD_NETPATH, W::FolderMissing},
        {ERROR_CANT_RESOLVE_FILENAME, W::LinkLoop}, {ERROR_CRC, W::DiskError}, {ERROR_IO_DEVICE, W::DiskError}};
    return ReasonOf(error, Reasons);
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

// The attributes and creation time the saved file carries: those of the file
// it replaces, or those of a plain new file.
bool SetFinalAttributes(HANDLE file, DWORD existing, const FILETIME& created)
{
    FILE_BASIC_INFO info{};
    info.FileAttributes = existing == INVALID_FILE_ATTRIBUTES || existing == 0 ? FILE_ATTRIBUTE_ARCHIVE : existing;
    if (existing != INVALID_FILE_ATTRIBUTES) {
        info.CreationTime.LowPart = created.dwLowDateTime;
        info.CreationTime.HighPart = static_cast<LONG>(created.dwHighDateTime);
    }
    return ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info) != 0;
}

// Gives the file open as to (with WRITE_DAC) the access list of the file at
// from, where the user may read it: the rename that puts the new file in
// place keeps the new file's own list.
void CopyAccessList(const std::wstring& from, HANDLE to)
{
    DWORD size = 0;
    ::GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0)
        return;
    std::vector<unsigned char> descriptor(size);
    if (::GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        (void)::SetKernelObjectSecurity(to, DACL_SECURITY_INFORMATION, descriptor.data());
}

// Puts the file at from in the place of the file at to in one rename, with
// the rename of POSIX semantics (Windows 10 and later): it replaces to also
// while another program holds it open with delete sharing, which a plain
// rename refuses.
bool RenameOverOpenFile(const std::wstring& from, const std::wstring& to)
{
    FileHandle file(::CreateFileW(from.c_str(), DELETE | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    // FILE_RENAME_INFO with its flags word, as the system reads it.
    struct RenameInfo {
        DWORD flags;
        HANDLE rootDirectory;
        DWORD nameBytes;
        WCHAR name[1];
    };
    constexpr DWORD ReplaceIfExists = 0x1, PosixSemantics = 0x2;
    const std::size_t nameBytes = to.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(RenameInfo, name) + nameBytes + sizeof(wchar_t), 0);
    RenameInfo info{ReplaceIfExists | PosixSemantics, nullptr, static_cast<DWORD>(nameBytes), {0}};
    std::memcpy(buffer.data(), &info, offsetof(RenameInfo, name));
    std::memcpy(buffer.data() + offsetof(RenameInfo, name), to.data(), nameBytes);
    const auto renameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);  // FileRenameInfoEx
    return ::SetFileInformationByHandle(file.Get(), renameInfoEx, buffer.data(),
                                        static_cast<DWORD>(buffer.size())) != 0;
}

// Replaces the file at to with the file at from. One rename where the system
// allows it, so that a save killed at any moment leaves the old map or the new
// one under the name. Only where the map is held open elsewhere with delete
// sharing and the system has no rename for that, ReplaceFileW does it in its
// steps (it moves the old file aside first).
bool ReplaceWith(const std::wstring& from, const std::wstring& to, bool exists)
{
    if (!exists)
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (RenameOverOpenFile(from, to) ||
        ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
        return false;
    return ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
}

}  // namespace

// Nothing is reported lost here yet: notKept stays empty.
WriteStatus WriteAtomically(const std::string& path, std::string_view bytes, NotKept* /*notKept*/)
{
    const std::wstring wide = Wide(path);
    if (wide.empty())
        return path.empty() ? WriteStatus::FolderMissing : WriteStatus::Other;
    if (IsSeparator(wide.back()))
        return WriteStatus::IsFolder;
    const std::wstring full = WindowsPaths::LongPath(wide);
    if (full.empty())
        return StatusOf(::GetLastError());
    const std::optional<std::wstring> resolved = WindowsPaths::FinalTarget(full);
    if (!resolved)
        return WriteStatus::LinkLoop;
    const std::wstring& target = *resolved;
    if (NameOf(target).size() > NameMax)
        return WriteStatus::NameTooLong;
    WIN32_FILE_ATTRIBUTE_DATA old{};
    DWORD existing = INVALID_FILE_ATTRIBUTES;
    if (::GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old))
        existing = old.dwFileAttributes;
    else if (::GetLastError() != ERROR_FILE_NOT_FOUND)
        return StatusOf(::GetLastError());
    if (existing != INVALID_FILE_ATTRIBUTES) {
        if (existing & FILE_ATTRIBUTE_DIRECTORY)
            return WriteStatus::IsFolder;
        if (existing & FILE_ATTRIBUTE_READONLY)
            return WriteStatus::ReadOnlyFile;
        // Opening for writing is what tells whether the user may write it.
        FileHandle probe(::CreateFileW(target.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid()) {
            const DWORD error = ::GetLastError();
            return error == ERROR_ACCESS_DENIED ? WriteStatus::ReadOnlyFile : StatusOf(error);
        }
        if (::GetFileType(probe.Get()) != FILE_TYPE_DISK)
            return WriteStatus::NotAFile;
    }

    std::wstring tempPath;
    FileHandle temp(SaveTemporary::Create(target, tempPath));
    if (!temp.Valid())
        return StatusOf(::GetLastError());
    if (existing != INVALID_FILE_ATTRIBUTES)
        CopyAccessList(target, temp.Get());
    const bool written = WriteFully(temp.Get(), bytes) && ::FlushFileBuffers(temp.Get()) &&
                         SetFinalAttributes(temp.Get(), existing, old.ftCreationTime) && temp.Close();
    // What the old file had, its access list, attributes and creation time,
    // the temporary file has taken above; a new file takes the access list its
    // folder gives.
    const bool replaced = written && ReplaceWith(tempPath, target, existing != INVALID_FILE_ATTRIBUTES);
    if (!replaced) {
        const DWORD error = ::GetLastError();
        temp.Close();
        ::DeleteFileW(tempPath.c_str());
        // The folder took the temporary file and the file opened for writing:
        // what refuses the replacement is another program holding the file.
        if (written && existing != INVALID_FILE_ATTRIBUTES && error == ERROR_ACCESS_DENIED)
            return WriteStatus::InUse;
        return StatusOf(error);
    }
    SaveTemporary::RemoveLeftovers(target);
    return WriteStatus::Written;
}

}  // namespace FileBytes
