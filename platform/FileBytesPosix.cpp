// Map file bytes on POSIX systems: plain file descriptors; a save writes a
// hidden temporary file in the target's folder, syncs it, renames it over the
// target and syncs the folder. Names are taken relative to the folder's
// descriptor, so that only the file name, never the whole path, has to fit.
#include "document/FileBytes.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace FileBytes {
namespace {

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const { return fd_; }
    bool Close()
    {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

// What a temporary file's name adds to the target's: it starts with a dot and
// ends with ".gridforge-save-" and six random letters or digits.
constexpr std::string_view TempMark = ".gridforge-save-";
constexpr std::size_t TempRandomLength = 6;
// Links a path may pass through before it counts as a loop (as the kernel does).
constexpr int MaxLinkHops = 40;

WriteStatus StatusOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return WriteStatus::NoSpace;
    case EROFS:
        return WriteStatus::ReadOnlyDisk;
    case EACCES:
    case EPERM:
        return WriteStatus::AccessDenied;
    case ENAMETOOLONG:
        return WriteStatus::NameTooLong;
    case ENOENT:
    case ENOTDIR:
        return WriteStatus::FolderMissing;
    case EISDIR:
        return WriteStatus::IsFolder;
    case ELOOP:
        return WriteStatus::LinkLoop;
    case EIO:
        return WriteStatus::DiskError;
    default:
        return WriteStatus::Other;
    }
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

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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

// The file a save replaces: path itself, or the end of the chain of links it
// starts. The end need not exist yet.
std::optional<std::string> FinalTarget(std::string path, int& error)
{
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return path;
            error = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) >= buffer.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return std::nullopt;
        }
        const std::string target(buffer.data(), static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    error = ELOOP;
    return std::nullopt;
}

// name cut to at most length bytes without splitting a UTF-8 character.
std::string Prefix(const std::string& name, std::size_t length)
{
    if (name.size() <= length)
        return name;
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return name.substr(0, length);
}

std::string RandomLetters()
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::uint64_t counter = 0;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seed = static_cast<std::uint64_t>(now.tv_nsec) ^ (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                         (static_cast<std::uint64_t>(::getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15ull);
    std::string letters;
    for (std::size_t i = 0; i < TempRandomLength; ++i) {
        seed ^= seed >> 33;
        seed *= 0xFF51AFD7ED558CCDull;
        seed ^= seed >> 29;
        letters += Letters[seed % (sizeof Letters - 1)];
    }
    return letters;
}

// A hidden name beside name that says what it is and is never longer than
// the folder allows, as long as name itself fits.
std::string TemporaryName(const std::string& name, int folder)
{
    const long nameMax = ::fpathconf(folder, _PC_NAME_MAX);
    const std::size_t limit = nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255;
    const std::size_t added = 1 + TempMark.size() + TempRandomLength;
    const std::size_t room = limit > added ? limit - added : 0;
    return "." + Prefix(name, room) + std::string(TempMark) + RandomLetters();
}

WriteStatus Replace(int folder, const std::string& name, std::string_view bytes, const struct stat* existing)
{
    std::string tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = TemporaryName(name, folder);
        fd = ::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return StatusOf(errno);
    }
    if (fd < 0)
        return WriteStatus::Other;
    FileHandle temp(fd);

    // The saved file keeps the owner and permissions of the one it replaces
    // where the system lets it.
    if (existing != nullptr && (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()))
        (void)::fchown(temp.Get(), existing->st_uid, existing->st_gid);
    const mode_t mode = existing != nullptr ? existing->st_mode & 07777 : NewFileMode();
    const bool written = WriteFully(temp.Get(), bytes) && ::fchmod(temp.Get(), mode) == 0 &&
                         ::fsync(temp.Get()) == 0 && temp.Close();
    const int writeError = errno;
    if (!written || ::renameat(folder, tempName.c_str(), folder, name.c_str()) != 0) {
        const WriteStatus status = StatusOf(written ? errno : writeError);
        temp.Close();
        ::unlinkat(folder, tempName.c_str(), 0);
        return status;
    }
    ::fsync(folder);
    return WriteStatus::Written;
}

}  // namespace

ReadResult ReadBounded(const std::string& path, std::size_t limit)
{
    // Non-blocking, so that a named pipe is refused below instead of waiting
    // for a writer; reads of a regular file are not affected.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0)
        return {};
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    if (info.st_size > 0 && static_cast<std::uintmax_t>(info.st_size) > limit)
        return {ReadStatus::TooLarge, {}};

    // Files of /proc report size 0 whatever they hold, and a file may grow
    // while it is read: the reading itself stops at the first chunk that
    // would take the bytes past the limit.
    ReadResult result{ReadStatus::Read, {}};
    std::string& bytes = result.bytes;
    bytes.reserve(limit);
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return {};
        }
        if (count == 0)
            return result;
        if (static_cast<std::size_t>(count) > limit - bytes.size())
            return {ReadStatus::TooLarge, {}};
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

WriteStatus WriteAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return WriteStatus::FolderMissing;
    int error = 0;
    const std::optional<std::string> target = FinalTarget(path, error);
    if (!target)
        return StatusOf(error);
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
    if (folder.Get() < 0)
        return StatusOf(errno);

    struct stat existing {};
    if (::fstatat(folder.Get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            return StatusOf(errno);
        return Replace(folder.Get(), name, bytes, nullptr);
    }
    if (S_ISDIR(existing.st_mode))
        return WriteStatus::IsFolder;
    if (!S_ISREG(existing.st_mode))
        return WriteStatus::NotAFile;
    if (::faccessat(folder.Get(), name.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES || errno == EPERM ? WriteStatus::ReadOnlyFile : StatusOf(errno);
    return Replace(folder.Get(), name, bytes, &existing);
}

}  // namespace FileBytes
