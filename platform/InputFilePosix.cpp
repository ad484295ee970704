// Reading a file on POSIX systems: a plain file descriptor.
#include "platform/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

InputFile::InputFile(const std::string& path)
{
    // Non-blocking, so that a named pipe is refused below instead of waiting
    // for a writer; reads of a regular file are not affected.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    file_ = std::move(file);
    // Files of /proc report size 0 whatever they hold: only a size above 0 says something.
    if (info.st_size > 0)
        size_ = static_cast<std::uintmax_t>(info.st_size);
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t count = ::read(file_.Get(), buffer, size);
        if (count >= 0 || errno != EINTR)
            return count < 0 ? -1 : count;
    }
}
