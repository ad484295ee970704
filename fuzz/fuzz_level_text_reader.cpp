// Feeds any bytes to the level text reader and checks what it returns.
#include "document/LevelText.h"
#include "document/LevelTextImport.h"
#include "document/LevelTextReader.h"
#include "document/MapModule.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "level text reader: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LevelTextReader::Result result = LevelTextReader::Read(bytes);
    if (result.refusal != LevelTextReader::Refusal::None) {
        Check(result.owners.empty(), "owners kept with a refusal");
        Check(result.line >= 1 && result.column >= 1, "a refusal without its place");
        return 0;
    }
    Check(LevelTextReader::SizeOpens(result.width, result.height), "a size no map file may have");
    Check(result.owners.size() == static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height),
          "owners unlike the size");
    for (const std::int32_t owner : result.owners)
        Check(owner >= 0 && owner <= 6, "an owner outside 0 to 6");
    Check(MapModule::IsLevelText(bytes) || bytes.substr(0, 20) == "KX-GRIDFORGE@VER1.00",
          "read as a level text, yet not told apart as one");

    // The section the editor builds for the map reads back as the same map.
    MapModule::ResetDocument();
    MapModule::TakeOwnMap(result);
    const LevelTextReader::Result again = LevelTextReader::Read(MapModule::BuildLevelText());
    Check(again.refusal == LevelTextReader::Refusal::None && again.width == result.width &&
              again.height == result.height && again.owners == result.owners,
          "the editor's own section reads back differently");
    return 0;
}
