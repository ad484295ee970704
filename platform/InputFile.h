#pragma once

#include "platform/FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A file open for reading through the system's own calls, taken only when it
// is a regular file on a disk: a folder, pipe, device or console is not opened.
// Each system has its own implementation in platform/.
class InputFile {
public:
    // Opens the file at path (UTF-8); IsOpen() tells whether it was taken.
    explicit InputFile(const std::string& path);

    bool IsOpen() const { return file_.Valid(); }
    // The size the system gave for the file when it was opened, where it gave one.
    std::optional<std::uintmax_t> ReportedSize() const { return size_; }
    // Reads at most size bytes into buffer: how many it read, 0 at the end of
    // the file, -1 when the system failed to read.
    std::ptrdiff_t Read(char* buffer, std::size_t size);

private:
    FileHandle file_;
    std::optional<std::uintmax_t> size_;
};
