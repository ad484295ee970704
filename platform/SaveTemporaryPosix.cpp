#include "platform/SaveTemporaryPosix.h"

#include "platform/TemporaryName.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SaveTemporary {
namespace {

constexpr std::size_t RandomLength = TemporaryName<std::string>::RandomLength;
constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The temporary names of name in folder, within the folder's limit of a name;
// a name cut short carries a hash of the whole name.
TemporaryName<std::string> NamesOf(const std::string& name, int folder)
{
    const long nameMax = ::fpathconf(folder, _PC_NAME_MAX);
    const std::size_t limit = nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255;
    return TemporaryName<std::string>(name, limit, Letters, true);
}

std::string RandomLetters()
{
    static std::uint64_t counter = 0;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seed = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                         (static_cast<std::uint64_t>(::getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15ull);
    std::string letters;
    for (std::size_t i = 0; i < RandomLength; ++i) {
        seed ^= seed >> 33;
        seed *= 0xFF51AFD7ED558CCDull;
        seed ^= seed >> 29;
        letters += Letters[seed % (sizeof Letters - 1)];
    }
    return letters;
}

// Whether name in folder is still the file open as fd.
bool StillNamed(int folder, const char* name, int fd)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

}  // namespace

int Create(int folder, const std::string& name, std::string& tempName)
{
    const std::string stem = NamesOf(name, folder).Stem();
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = stem + RandomLetters();
        Descriptor fd(::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd.Get() < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // A file system without locks leaves the file unlocked: no save can
        // lock it then, so none takes it for a leftover.
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue;  // a save cleaning up took it in the moment before the lock and removes it
        // Locked only after that save had removed it: the name is gone.
        if (!StillNamed(folder, tempName.c_str(), fd.Get()))
            continue;
        return fd.Release();
    }
    errno = EEXIST;
    return -1;
}

void RemoveLeftovers(int folder, const std::string& name)
{
    // A folder that may be entered but not listed keeps its leftovers.
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return;
    }
    const TemporaryName<std::string> names = NamesOf(name, folder);
    while (const dirent* entry = ::readdir(entries)) {
        if (!names.Matches(entry->d_name))
            continue;
        struct stat info {};
        if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue;
        // A killed save may have given its file the map's permissions, which
        // may let the user write it but not read it.
        constexpr int Flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        Descriptor fd(::openat(folder, entry->d_name, O_RDONLY | Flags));
        if (fd.Get() < 0 && errno == EACCES)
            fd.Reset(::openat(folder, entry->d_name, O_WRONLY | Flags));
        if (fd.Get() < 0)
            continue;
        // The lock is held until the name is gone, so that a save that has
        // just created the file sees that it lost it.
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 && StillNamed(folder, entry->d_name, fd.Get()))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace SaveTemporary
