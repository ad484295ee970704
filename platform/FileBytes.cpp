// What the map file's input and output decide the same way on every system;
// the system's own calls are behind InputFile and in FileBytes<System>.cpp.
#include "platform/FileBytes.h"

#include "platform/InputFile.h"

#include <vector>

namespace FileBytes {

ReadResult ReadBounded(const std::string& path, std::size_t limit)
{
    InputFile file(path);
    if (!file.IsOpen())
        return {};
    if (const std::optional<std::uintmax_t> size = file.ReportedSize(); size && *size > limit)
        return {ReadStatus::TooLarge, {}};

    // The size the system reports may be wrong (files of /proc report 0), and
    // a file may grow while it is read: the reading itself stops at the first
    // chunk that would take the bytes past the limit.
    ReadResult result{ReadStatus::Read, {}};
    std::string& bytes = result.bytes;
    bytes.reserve(limit);
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const std::ptrdiff_t count = file.Read(buffer.data(), buffer.size());
        if (count < 0)
            return {};
        if (count == 0)
            return result;
        if (static_cast<std::size_t>(count) > limit - bytes.size())
            return {ReadStatus::TooLarge, {}};
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

}  // namespace FileBytes
