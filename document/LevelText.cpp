#include "document/LevelText.h"

#include "document/MapModule.h"
#include "document/MapSectors.h"
#include "document/OwnerTable.h"

#include <functional>

namespace MapModule {
namespace {

constexpr const char* LineBreak = "\r\n";
constexpr const char* ZeroToken = "00 ";

std::string BuildSection(const char* keyword, const std::function<const char*(std::int64_t)>& tokenOf)
{
    std::string text = keyword;
    text += LineBreak;
    text += std::to_string(MapWidth) + " " + std::to_string(MapHeight) + LineBreak;

    const std::int64_t count = SectorsOnMap();
    std::int64_t column = 0;
    for (std::int64_t s = 0; s < count; ++s) {
        if (column == MapWidth) {
            text += LineBreak;
            column = 0;
        }
        text += tokenOf(s);
        ++column;
    }
    return text;
}

const char* ZeroTokenOf(std::int64_t) { return ZeroToken; }

const char* OwnerTokenOf(std::int64_t s)
{
    const std::optional<std::int32_t> owner = OwnerGrid.Get(s);
    if (!owner || !IsOwner(*owner))
        return "";
    return OwnerTable[static_cast<std::size_t>(*owner)].token;
}

}  // namespace

std::string BuildTypMapText() { return BuildSection("typ_map= ", ZeroTokenOf); }
std::string BuildOwnMapText() { return BuildSection("own_map= ", OwnerTokenOf); }
std::string BuildHgtMapText() { return BuildSection("hgt_map= ", ZeroTokenOf); }
std::string BuildBlgMapText() { return BuildSection("blg_map= ", ZeroTokenOf); }

std::string BuildLevelText()
{
    const std::string separator = "\r\n\r\n";
    return BuildTypMapText() + separator + BuildOwnMapText() + separator + BuildHgtMapText() + separator +
           BuildBlgMapText();
}

}  // namespace MapModule
