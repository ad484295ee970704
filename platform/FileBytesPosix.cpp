// Saving the map file on POSIX systems: plain file descriptors; a save writes a
// hidden temporary file in the target's folder, syncs it, renames it over the
// target and syncs the folder. Names are taken relative to the folder's
// descriptor, so that only the file name, never the whole path, has to fit.
#include "platform/FileBytes.h"
#include "platform/ErrorReasons.h"
#include "platform/SaveMetadataPosix.h"
#include "platform/SaveTemporaryPosix.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace FileBytes {
namespace {

// Links a path may pass through before it counts as a loop (as the kernel does).
constexpr int MaxLinkHops = 40;

WriteStatus StatusOf(int error)
{
    using W = WriteStatus;
    static constexpr std::pair<int, WriteStatus> Reasons[] = {
        {ENOSPC, W::NoSpace}, {EDQUOT, W::NoSpace}, {EROFS, W::ReadOnlyDisk}, {EACCES, W::AccessDenied},
        {EPERM, W::AccessDenied}, {ENAMETOOLONG, W::NameTooLong}, {ENOENT, W::FolderMissing},
        {ENOTDIR, W::FolderMissing}, {EISDIR, W::IsFolder}, {ELOOP, W::LinkLoop}, {EIO, W::DiskError}};
    return ReasonOf(error, Reasons);
}

bool WriteFully(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the user may follow the symbolic link at path, described by link,
// under the kernel's protected_symlinks rule: in a folder that is sticky and
// that others may write (like /tmp), only a link of the user or of the
// folder's owner is followed, so that nobody can lay a link there that makes
// another user's save overwrite a file of that user.
bool MayFollow(const std::string& path, const struct stat& link)
{
    if (link.st_uid == ::geteuid())
        return true;
    struct stat folder {};
    if (::stat(DirectoryOf(path).c_str(), &folder) != 0)
        return false;
    return (folder.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH) || folder.st_uid == link.st_uid;
}

// The file a save replaces: path itself, or the end of the chain of links it
// starts. The end need not exist yet. Nothing, with the reason in refusal,
// when the chain cannot or may not be followed.
std::optional<std::string> FinalTarget(std::string path, WriteStatus& refusal)
{
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return path;
            refusal = StatusOf(errno);
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        if (!MayFollow(path, info)) {
            refusal = WriteStatus::StickyFolderLink;
            return std::nullopt;
        }
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) >= buffer.size()) {
            refusal = StatusOf(length < 0 ? errno : ENAMETOOLONG);
            return std::nullopt;
        }
        const std::string target(buffer.data(), static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    refusal = WriteStatus::LinkLoop;
    return std::nullopt;
}

// Whether the temporary file open as temp under tempName in folder is gone
// while the folder is still there: another program removed it (a save on
// another machine, where this machine's lock does not reach).
bool TemporaryVanished(int folder, const std::string& tempName, int temp)
{
    struct stat info {};
    return !SaveTemporary::StillNamed(folder, tempName.c_str(), temp) && ::fstat(folder, &info) == 0 &&
           info.st_nlink > 0;
}

// Why renaming the new file over name failed, as the user can act on it.
WriteStatus RenameStatus(int error, int folder, const struct stat* existing)
{
    // Renaming onto a file that is a mount point (a file mounted over another).
    if (error == EBUSY)
        return WriteStatus::MountPoint;
    // A sticky folder lets only the file's owner, or the folder's, replace a file.
    struct stat info {};
    if ((error == EPERM || error == EACCES) && existing != nullptr && existing->st_uid != ::geteuid() &&
        ::fstat(folder, &info) == 0 && (info.st_mode & S_ISVTX) != 0 && info.st_uid != ::geteuid())
        return WriteStatus::StickyFolder;
    return StatusOf(error);
}

WriteStatus Replace(int folder, const std::string& path, const std::string& name, std::string_view bytes,
                    const struct stat* existing, NotKept& notKept)
{
    // A new map gets what any program's new file gets in the folder (the
    // umask, or the folder's default ACL); one that replaces a file is the
    // user's alone until it has that file's owner, attributes and mode.
    const bool replacing = existing != nullptr;
    std::string tempName;
    FileHandle temp(SaveTemporary::Create(folder, name, replacing ? 0600 : 0666, tempName));
    if (!temp.Valid())
        return errno == EEXIST ? WriteStatus::Other : StatusOf(errno);

    const mode_t mode = replacing ? SaveMetadata::KeptMode(temp.Get(), folder, name, path, *existing, notKept) : 0;
    const bool written = WriteFully(temp.Get(), bytes) && (!replacing || ::fchmod(temp.Get(), mode) == 0) &&
                         ::fsync(temp.Get()) == 0;
    const int writeError = errno;
    // The lock goes with the descriptor: the file is closed only once it has
    // its final name or is gone.
    if (!written || ::renameat(folder, tempName.c_str(), folder, name.c_str()) != 0) {
        const WriteStatus status = written ? RenameStatus(errno, folder, existing) : StatusOf(writeError);
        if (TemporaryVanished(folder, tempName, temp.Get()))
            return WriteStatus::TemporaryVanished;
        ::unlinkat(folder, tempName.c_str(), 0);
        return status;
    }
    // The map is in place and on the disk (fsync said so): what the close
    // may still report changes nothing of that.
    temp.Close();
    ::fsync(folder);
    SaveTemporary::RemoveLeftovers(folder, name);
    return WriteStatus::Written;
}

}  // namespace

WriteStatus WriteAtomically(const std::string& path, std::string_view bytes, NotKept* notKept)
{
    if (path.empty())
        return WriteStatus::FolderMissing;
    WriteStatus refusal = WriteStatus::Other;
    const std::optional<std::string> target = FinalTarget(path, refusal);
    if (!target)
        return refusal;
    const std::string name = NameOf(*target);
    if (name.empty() || name == "." || name == "..") {
        struct stat info {};
        return ::stat(target->c_str(), &info) == 0 ? WriteStatus::IsFolder : StatusOf(errno);
    }

    // A folder that may be entered but not listed still takes the file; it
    // is only not synced.
    const std::string directory = DirectoryOf(*target);
    int folderFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef O_PATH
    if (folderFd < 0 && errno == EACCES)
        folderFd = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#endif
    FileHandle folder(folderFd);
    if (!folder.Valid())
        return StatusOf(errno);
    NotKept ignored;
    NotKept& kept = notKept != nullptr ? *notKept : ignored;

    struct stat existing {};
    if (::fstatat(folder.Get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            return StatusOf(errno);
        return Replace(folder.Get(), *target, name, bytes, nullptr, kept);
    }
    if (S_ISDIR(existing.st_mode))
        return WriteStatus::IsFolder;
    if (!S_ISREG(existing.st_mode))
        return WriteStatus::NotAFile;
    if (::faccessat(folder.Get(), name.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES || errno == EPERM ? WriteStatus::ReadOnlyFile : StatusOf(errno);
    return Replace(folder.Get(), *target, name, bytes, &existing, kept);
}

}  // namespace FileBytes
