// Saving the map file on Windows: wide-character paths in their long form, a
// hidden temporary file beside the target, flushed to disk and then put in
// the target's place in one step.
#include "platform/FileBytes.h"
#include "platform/ErrorReasons.h"
#include "platform/SaveMetadataWindows.h"
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

// Puts the file open as file in the place of the file at to in one rename,
// with the rename of POSIX semantics (Windows 10 and later): it replaces to
// also while another program holds it open with delete sharing, which a plain
// rename refuses.
bool RenameOverOpenFile(HANDLE file, const std::wstring& to)
{
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
    return ::SetFileInformationByHandle(file, renameInfoEx, buffer.data(), static_cast<DWORD>(buffer.size())) != 0;
}

// Replaces the file at to with the temporary file open as temp at from, which
// stays open (the system's rename opens it again by name beside the handle).
// One rename where the system allows it, so that a save killed at any moment
// leaves the old map or the new one under the name. Only where the map is
// held open elsewhere with delete sharing and the system has no rename for
// that, ReplaceFileW does it in its steps (it moves the old file aside
// first); it needs the file closed, and holds it itself while it works.
bool ReplaceWith(FileHandle& temp, const std::wstring& from, const std::wstring& to, bool exists)
{
    if (!exists)
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (RenameOverOpenFile(temp.Get(), to) ||
        ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
        return false;
    temp.Close();
    if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // The old file is gone and the new one is still under its temporary
    // name: a plain move puts it in place.
    const DWORD replaceError = ::GetLastError();
    if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0)
        return true;
    ::SetLastError(replaceError);
    return false;
}

// Whether a failed replacement has already moved the old file away, so that
// the temporary file holds the only whole copy of the map and must stay.
bool OldFileMovedAway(DWORD error)
{
    return error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// A named stream as a user knows it: ":name:$DATA" gives "name", in UTF-8.
std::string StreamNameOf(const std::wstring& stream)
{
    std::wstring name = stream;
    if (!name.empty() && name.front() == L':')
        name.erase(0, 1);
    const std::wstring::size_type type = name.rfind(L":$DATA");
    if (type != std::wstring::npos && type + 6 == name.size())
        name.erase(type);
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), utf8.data(), size, nullptr,
                              nullptr);
    return utf8;
}

}  // namespace

WriteStatus WriteAtomically(const std::string& path, std::string_view bytes, NotKept* notKept)
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

    // A new map takes the access list its folder gives; one that replaces a
    // map allows no one but the user until it has the old map's list.
    const bool replacing = existing != INVALID_FILE_ATTRIBUTES;
    std::optional<SaveMetadata::UserOnly> userOnly;
    if (replacing)
        userOnly.emplace();
    std::wstring tempPath;
    FileHandle temp(SaveTemporary::Create(target, tempPath, replacing ? userOnly->Attributes() : nullptr));
    if (!temp.Valid())
        return StatusOf(::GetLastError());
    SaveMetadata::Lost lost;
    if (replacing)
        lost = SaveMetadata::LossesOfCopy(target, temp.Get(), tempPath);
    const bool written = WriteFully(temp.Get(), bytes) && ::FlushFileBuffers(temp.Get()) &&
                         SaveMetadata::KeepAttributes(temp.Get(), existing, old.ftCreationTime);
    const bool replaced = written && ReplaceWith(temp, tempPath, target, replacing);
    const DWORD error = ::GetLastError();
    temp.Close();
    if (!replaced) {
        if (!OldFileMovedAway(error))
            ::DeleteFileW(tempPath.c_str());
        // The folder took the temporary file and the file opened for writing:
        // what refuses the replacement is another program holding the file.
        if (written && replacing && error == ERROR_ACCESS_DENIED)
            return WriteStatus::InUse;
        return StatusOf(error);
    }
    SaveTemporary::RemoveLeftovers(target);
    if (notKept) {
        notKept->accessList = lost.accessList;
        for (const std::wstring& stream : lost.streams)
            notKept->streams.push_back(StreamNameOf(stream));
    }
    return WriteStatus::Written;
}

}  // namespace FileBytes
