#include "document/MapFile.h"

#include "document/AbortMessage.h"
#include "document/LevelTextImport.h"
#include "document/MapFileReader.h"
#include "document/MapModule.h"
#include "document/MapSectors.h"
#include "document/MapWindowCycle.h"
#include "document/OwnerTable.h"
#include "document/SaveFailureText.h"
#include "platform/FileBytes.h"

#include <functional>
#include <optional>

namespace MapModule {
namespace {

constexpr const char* LineEnd = "\r\n";
constexpr const char* HeaderMessage = "ヘッダーが違います・・・ロードを中止します";
constexpr const char* SizeMessage = "マップサイズが正しくありません・・・ロードを中止します";
constexpr const char* TooLargeMessage = "ファイルが大きすぎます・・・ロードを中止します";
constexpr const char* SaveFailedMessage = "ファイルを保存できませんでした・・・保存を中止します";
constexpr const char* NotKeptMessage = "ファイルを保存しましたが、元のファイルの次の情報は引き継げませんでした";

bool SizesFitGrid(std::int32_t width, std::int32_t height)
{
    if (width < 0 || height < 0)
        return false;
    return static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height) <= OwnerGridArray::Capacity;
}

// The file name after the last folder separator. Both "\\" and "/" count,
// so a path of either kind gives the bare name; without one, nothing.
std::optional<std::string> CaptionFor(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return std::nullopt;
    return path.substr(separator + 1);
}

struct SaveOutcome {
    bool saved = false;
    std::string reason;        // the system's reason for a failed write, in Japanese
    FileBytes::NotKept notKept;  // what a written file could not keep of the one it replaced
};

SaveOutcome Save(const std::string& path)
{
    // A document the loader would refuse is not written either.
    if (!SizesFitGrid(MapWidth, MapHeight))
        return {};
    SaveOutcome outcome;
    const FileBytes::WriteStatus status = FileBytes::WriteAtomically(path, MapFileText(), &outcome.notKept);
    if (status != FileBytes::WriteStatus::Written)
        return {false, SaveFailureText(status), {}};
    MapChanged = False;
    CurrentFileName = path;
    MapTiedToCurrentFile = true;
    if (MapWindowPort* mapWindow = Ports().mapWindow)
        mapWindow->SetMapCaption(Shown(path));
    outcome.saved = true;
    return outcome;
}

// A failed save, or one that stands but lost something of the old file, is
// told in one message box.
void SaveAndReport(const std::string& path)
{
    const SaveOutcome outcome = Save(path);
    if (!outcome.saved) {
        ShowSaveFailedMessage(path, outcome.reason);
    } else if (MessageBoxPort* messages = Ports().messages; messages && !outcome.notKept.Empty()) {
        messages->Show(std::string(NotKeptMessage) + "\n" + Shown(path) + "\n" + NotKeptText(outcome.notKept), "",
                       MessageButtons::Ok, MessageIcon::Exclamation, MessageAnswer::Ok);
    }
}

}  // namespace

std::string MapFileText()
{
    const LockBoxPort* lockBox = Ports().lockBox;
    std::string text = MapFileHeader;
    text += LineEnd;
    text += std::to_string(MapWidth) + "," + std::to_string(MapHeight) + LineEnd;
    text += std::to_string(lockBox ? lockBox->Value() : 0) + LineEnd;
    const std::int64_t count = SectorsOnMap();
    for (std::int64_t s = 0; s < count; ++s)
        text += std::to_string(OwnerGrid.At(s)) + LineEnd;
    return text;
}

bool SaveMapFile(const std::string& path) { return Save(path).saved; }

bool LoadMapFile(const std::string& path) { return LoadMapFileStatus(path) == LoadStatus::Loaded; }

LoadStatus LoadMapFileStatus(const std::string& path)
{
    return LoadMapFileRead(path, FileBytes::ReadBounded(path, MapFileSizeLimit));
}

LoadStatus LoadMapFileRead(const std::string& path, const FileBytes::ReadResult& read)
{
    if (read.status == FileBytes::ReadStatus::TooLarge) {
        ShowAbort(TooLargeMessage);
        return LoadStatus::TooLarge;
    }
    const MapFileReader::Result file =
        read.status == FileBytes::ReadStatus::Read ? MapFileReader::Read(read.bytes) : MapFileReader::Result{};
    if (!file.headerOk) {
        ShowAbort(HeaderMessage);
        return read.status == FileBytes::ReadStatus::Read ? LoadStatus::WrongHeader : LoadStatus::Unreadable;
    }
    if (!file.width || !file.height || !file.lock || !SizesFitGrid(*file.width, *file.height)) {
        ShowAbort(SizeMessage);
        return LoadStatus::WrongSize;
    }

    // The open map may refuse to close; then nothing has changed yet.
    if (!CloseMapWindow())
        return LoadStatus::MapWindowKept;

    // The document takes the file. Setting the lock box runs the lock
    // through the box's command when its value changes.
    OwnerGrid.Fill(0);
    if (LockBoxPort* lockBox = Ports().lockBox)
        lockBox->SetValue(*file.lock);
    for (std::size_t i = 0; i < file.owners.size(); ++i)
        OwnerGrid.Set(static_cast<std::int64_t>(i), file.owners[i]);
    MapWidth = *file.width;
    MapHeight = *file.height;

    // A new window for the new sizes, then the owners in its cells.
    OpenMapWindow();
    RecolourCells();

    CurrentFileName = path;
    MapTiedToCurrentFile = true;
    const std::optional<std::string> caption = CaptionFor(path);
    MapWindowPort* mapWindow = Ports().mapWindow;
    if (caption && mapWindow != nullptr)
        mapWindow->SetMapCaption(*caption);
    return LoadStatus::Loaded;
}

void ShowSaveFailedMessage(const std::string& path, const std::string& reason)
{
    ShowAbort(std::string(SaveFailedMessage) + "\n" + Shown(path) + (reason.empty() ? "" : "\n" + reason));
}

void SaveMapAs()
{
    FileDialogPort* dialog = Ports().fileDialog;
    if (dialog == nullptr)
        return;
    const std::optional<std::string> path = dialog->ChooseSavePath();
    if (!path)
        return;
    SaveAndReport(*path);
}

void SaveMap()
{
    // After New the file name still names the earlier map's file: writing
    // there without a question would put the new map over the earlier one.
    if (CurrentFileName.empty() || !MapTiedToCurrentFile) {
        SaveMapAs();
        return;
    }
    SaveAndReport(std::string(CurrentFileName));
}

namespace {
// The closing question for a changed map, then the path from choosePath and
// its load. The flag comes back when nothing replaced the changed map.
void OpenChosenMap(const std::function<std::optional<std::string>()>& choosePath,
                   const std::function<bool(const std::string&)>& load)
{
    bool clearedFlag = false;
    if (MapChanged == True) {
        MessageBoxPort* messages = Ports().messages;
        if (messages == nullptr)
            return;
        const MessageAnswer answer =
            messages->Show("変更されていますがドキュメントを閉じますか?", "ドキュメントを閉じますか?",
                           MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
        if (answer != MessageAnswer::Yes)
            return;
        MapChanged = False;
        clearedFlag = true;
    }

    const std::optional<std::string> path = choosePath();
    const bool loaded = path && load(*path);
    if (!loaded && clearedFlag)
        MapChanged = True;
}
}  // namespace

void OpenMap()
{
    OpenChosenMap([]() -> std::optional<std::string> {
        FileDialogPort* dialog = Ports().fileDialog;
        return dialog ? dialog->ChooseOpenPath() : std::nullopt;
    }, LoadMapFile);
}

void OpenMapFile(const std::string& path)
{
    OpenChosenMap([&path]() -> std::optional<std::string> { return path; }, LoadMapOrLevelText);
}

}  // namespace MapModule
