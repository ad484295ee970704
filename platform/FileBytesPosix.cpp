// Map file bytes on POSIX systems: plain file descriptors, a temporary file
// beside the target, fsync of the file and of its folder around the rename.
#include "document/FileBytes.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
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

mode_t ModeFor(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    return NewFileMode();
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

void SyncDirectory(const std::string& directory)
{
    FileHandle dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
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

bool WriteAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty() || path.back() == '/')
        return false;
    const mode_t mode = ModeFor(path);

    std::string pattern = path + ".XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    FileHandle temp(::mkstemp(tempName.data()));
    if (temp.Get() < 0)
        return false;
    const std::string tempPath(tempName.data());

    const bool written = WriteFully(temp.Get(), bytes) && ::fchmod(temp.Get(), mode) == 0 &&
                         ::fsync(temp.Get()) == 0 && temp.Close();
    if (!written || ::rename(tempPath.c_str(), path.c_str()) != 0) {
        temp.Close();
        ::unlink(tempPath.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(path));
    return true;
}

}  // namespace FileBytes
