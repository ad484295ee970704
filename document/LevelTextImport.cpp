#include "document/LevelTextImport.h"

#include "document/AbortMessage.h"
#include "document/LevelTextRefusalText.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/MapSectors.h"
#include "document/MapWindowCycle.h"
#include "platform/FileBytes.h"

namespace MapModule {
namespace {

constexpr const char* RefusedMessage = "レベルデータを読み込めません・・・ロードを中止します";

bool TakeAsNewMap(const std::string& path, std::string_view bytes)
{
    const LevelTextReader::Result section = LevelTextReader::Read(bytes);
    if (section.refusal != LevelTextReader::Refusal::None) {
        ShowAbort(std::string(RefusedMessage) + "\n" + Shown(path) + ":" + std::to_string(section.line) + ":" +
                  std::to_string(section.column) + "\n" + LevelTextRefusalJapanese(section));
        return false;
    }
    if (!CloseMapWindow())
        return false;
    // A level text has no lock: with the box on, the new window would clear
    // the outer ring the text gives.
    if (LockBoxPort* lockBox = Ports().lockBox)
        lockBox->SetValue(0);
    TakeOwnMap(section);
    OpenMapWindow();
    RecolourCells();
    MapChanged = True;
    MapTiedToCurrentFile = false;
    return true;
}

}  // namespace

bool IsLevelText(std::string_view bytes)
{
    if (bytes.substr(0, std::string_view(MapFileHeader).size()) == MapFileHeader)
        return false;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (start == 0 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        if (line.substr(0, LevelTextReader::Keyword.size()) == LevelTextReader::Keyword)
            return true;
        if (lf == std::string_view::npos)
            break;
        start = lf + 1;
    }
    return false;
}

void TakeOwnMap(const LevelTextReader::Result& section)
{
    OwnerGrid.Fill(0);
    for (std::size_t s = 0; s < section.owners.size(); ++s)
        OwnerGrid.Set(static_cast<std::int64_t>(s), section.owners[s]);
    MapWidth = section.width;
    MapHeight = section.height;
}

bool LoadMapOrLevelText(const std::string& path)
{
    const FileBytes::ReadResult read = FileBytes::ReadBounded(path, MapFileSizeLimit);
    if (read.status == FileBytes::ReadStatus::Read && IsLevelText(read.bytes))
        return TakeAsNewMap(path, read.bytes);
    return LoadMapFileRead(path, read) == LoadStatus::Loaded;
}

}  // namespace MapModule
