#include "platform/SaveTemporaryPosix.h"

#include "platform/TemporaryName.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SaveTemporary {
namespace {

// The temporary names of name in folder, within the folder's limit of a name.
TemporaryName<std::string> NamesOf(const std::string& name, int folder)
{
    const long nameMax = ::fpathconf(folder, _PC_NAME_MAX);
    return TemporaryName<std::string>(name, nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255);
}

}  // namespace

bool StillNamed(int folder, const char* name, int fd)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

FileHandle Create(int folder, const std::string& name, mode_t mode, std::string& tempName)
{
    const TemporaryName<std::string> names = NamesOf(name, folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = names.Random();
        FileHandle file(::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!file.Valid()) {
            if (errno == EEXIST)
                continue;
            return file;
        }
        // A file system without locks leaves the file unlocked: no save can
        // lock it then, so none takes it for a leftover.
        if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue;  // a save cleaning up took it in the moment before the lock and removes it
        // Locked only after that save had removed it: the name is gone.
        if (!StillNamed(folder, tempName.c_str(), file.Get()))
            continue;
        return file;
    }
    errno = EEXIST;
    return FileHandle();
}

void RemoveLeftovers(int folder, const std::string& name)
{
    // A folder that may be entered but not listed keeps its leftovers.
    FileHandle listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* entries = listing.Valid() ? ::fdopendir(listing.Get()) : nullptr;
    if (entries == nullptr)
        return;
    listing.Release();  // closedir closes it
    const TemporaryName<std::string> names = NamesOf(name, folder);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        if (!names.Matches(entry->d_name))
            continue;
        struct stat info {};
        if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
            now - info.st_mtime < LeftoverMinutes * 60)
            continue;
        // For writing, as NFS locks only such descriptors; a leftover the
        // user may not write can still be locked where locks are local.
        constexpr int Flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        FileHandle file(::openat(folder, entry->d_name, O_WRONLY | Flags));
        if (!file.Valid() && errno == EACCES)
            file = FileHandle(::openat(folder, entry->d_name, O_RDONLY | Flags));
        if (!file.Valid())
            continue;
        // The lock is held until the name is gone, so that a save that has
        // just created the file sees that it lost it.
        if (::flock(file.Get(), LOCK_EX | LOCK_NB) == 0 && StillNamed(folder, entry->d_name, file.Get()))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace SaveTemporary
