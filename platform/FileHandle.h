#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

// The owner of one open file of this system: a file descriptor on POSIX, a
// HANDLE on Windows. It closes the file when it goes out of scope; it can be
// moved but not copied, so a file always has exactly one owner.
class FileHandle {
public:
#ifdef _WIN32
    using Raw = HANDLE;
    static Raw Invalid() { return INVALID_HANDLE_VALUE; }
#else
    using Raw = int;
    static constexpr Raw Invalid() { return -1; }
#endif

    FileHandle() = default;
    explicit FileHandle(Raw raw) : raw_(raw) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : raw_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            raw_ = other.Release();
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    Raw Get() const { return raw_; }
    bool Valid() const { return raw_ != Invalid(); }
    // Gives the file up without closing it; the caller owns it from then on.
    Raw Release()
    {
        const Raw raw = raw_;
        raw_ = Invalid();
        return raw;
    }
    // Closes the file now. False when the system reported an error on closing
    // (a write it could not finish); the handle is closed either way.
    bool Close()
    {
        if (!Valid())
            return true;
#ifdef _WIN32
        return ::CloseHandle(Release()) != 0;
#else
        return ::close(Release()) == 0;
#endif
    }

private:
    Raw raw_ = Invalid();
};
