// Feeds any bytes to the map file reader and checks what it returns.
#include "document/MapFile.h"
#include "document/MapFileReader.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "map file reader: %s\n", what);
        std::abort();
    }
}

// The integer grammar is that of std::from_chars for int32 applied to the
// whole token: an optional '-', decimal digits, no overflow.
void CheckInteger(std::string_view token)
{
    const std::optional<std::int32_t> parsed = MapFileReader::ParseInteger(token);
    std::int32_t value = 0;
    const char* end = token.data() + token.size();
    const auto [ptr, error] = std::from_chars(token.data(), end, value);
    const bool whole = error == std::errc() && ptr == end && !token.empty();
    Check(parsed.has_value() == whole, "integer accepted or refused unlike from_chars");
    if (whole)
        Check(*parsed == value, "integer value differs from from_chars");
}

std::string Canonical(const MapFileReader::Result& result)
{
    std::string text = std::string(MapModule::MapFileHeader) + "\r\n";
    text += std::to_string(*result.width) + "," + std::to_string(*result.height) + "\r\n";
    text += std::to_string(*result.lock) + "\r\n";
    for (const std::int32_t owner : result.owners)
        text += std::to_string(owner) + "\r\n";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MapFileReader::Result result = MapFileReader::Read(bytes);

    const std::string_view firstLine = bytes.substr(0, bytes.find('\r'));
    Check(result.headerOk == (firstLine == MapModule::MapFileHeader), "header decision");
    Check(result.owners.size() <= MapFileReader::MaxOwnerValues, "more owners than the grid holds");
    Check(result.headerOk || (!result.width && !result.height && !result.lock), "values without header");
    Check(!result.height || result.width, "height without width");
    Check(!result.lock || result.height, "lock without height");
    Check(result.owners.empty() || result.lock, "owners without lock");

    // Whatever was read, written back in the file's own form, reads the same.
    if (result.lock) {
        const MapFileReader::Result again = MapFileReader::Read(Canonical(result));
        Check(again.headerOk && again.width == result.width && again.height == result.height &&
                  again.lock == result.lock && again.owners == result.owners,
              "written form reads back differently");
    }

    if (size <= 24)
        CheckInteger(bytes);
    return 0;
}
