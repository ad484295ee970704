#include "support/FileSystemRefusals.h"

#ifndef _WIN32
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {
bool lockOnlyForWriting = false;
bool removeNextFlushed = false;
std::string refusedAttribute;

template <typename Call>
Call Real(const char* name)
{
    return reinterpret_cast<Call>(::dlsym(RTLD_NEXT, name));
}
}  // namespace

void FileSystemRefusals::LockOnlyForWriting(bool on) { lockOnlyForWriting = on; }
void FileSystemRefusals::RefuseAttribute(const std::string& attribute) { refusedAttribute = attribute; }
void FileSystemRefusals::RemoveNextFlushedFile() { removeNextFlushed = true; }

// The program's calls of these reach the definitions here, which pass
// everything on to the system's but what a refusal above is set for.
extern "C" int flock(int fd, int operation) noexcept
{
    static const auto real = Real<int (*)(int, int)>("flock");
    if (lockOnlyForWriting && (operation & LOCK_EX) != 0 && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return real(fd, operation);
}

extern "C" int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) noexcept
{
    static const auto real = Real<int (*)(int, const char*, const void*, size_t, int)>("fsetxattr");
    if (!refusedAttribute.empty() && refusedAttribute == name) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real(fd, name, value, size, flags);
}
extern "C" int fsync(int fd)
{
    static const auto real = Real<int (*)(int)>("fsync");
    struct stat info {};
    if (removeNextFlushed && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        removeNextFlushed = false;
        char path[4096] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        if (::readlink(link.c_str(), path, sizeof path - 1) > 0)
            ::unlink(path);
    }
    return real(fd);
}
#else
void FileSystemRefusals::RemoveNextFlushedFile() {}
void FileSystemRefusals::LockOnlyForWriting(bool) {}
void FileSystemRefusals::RefuseAttribute(const std::string&) {}
#endif
