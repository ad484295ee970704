#include "shell/LevelTextExport.h"

#include "document/LevelText.h"
#include "document/MapFile.h"
#include "document/SaveFailureText.h"
#include "document/SectorLock.h"
#include "platform/FileBytes.h"
#include "view/MapGridBuilder.h"

LevelTextExport::LevelTextExport() : saved_(MapModule::Ports())
{
    MapModule::Ports() = MapModule::PortSet{nullptr, this, this, nullptr, this};
}

LevelTextExport::~LevelTextExport() { MapModule::Ports() = saved_; }

void LevelTextExport::SetValue(int value)
{
    if (value < 0 || value > 2 || value == lock_)
        return;
    lock_ = value;
    // The frame runs the lock on every change of Check1.
    MapModule::ApplySectorLock();
}

bool LevelTextExport::OpenMapWindow()
{
    built_ = MapGridBuilder::Build(cells_, nullptr, {});
    if (!built_) {
        Show(MapGridBuilder::FailureText, MapGridBuilder::FailureTitle, MessageButtons::Ok, MessageIcon::Error,
             MessageAnswer::Ok);
        return false;
    }
    MapModule::Ports().cells = &cells_;
    return true;
}

MessageAnswer LevelTextExport::Show(const std::string& text, const std::string&, MessageButtons, MessageIcon,
                                    MessageAnswer defaultButton)
{
    if (message_.empty())
        message_ = text;
    return defaultButton;
}

LevelTextExport::Result LevelTextExport::FromMapFile(const std::string& mapPath)
{
    LevelTextExport windows;
    if (!MapModule::LoadMapFile(mapPath) || !windows.built_)
        return {std::nullopt, windows.message_};
    return {MapModule::BuildLevelText(), {}};
}

std::optional<std::string> LevelTextExport::Save(const std::string& path, const std::string& text)
{
    const FileBytes::WriteStatus status = FileBytes::WriteAtomically(path, text);
    if (status == FileBytes::WriteStatus::Written)
        return std::nullopt;
    LevelTextExport windows;
    MapModule::ShowSaveFailedMessage(path, SaveFailureText(status));
    return windows.message_;
}
