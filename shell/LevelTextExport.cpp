#include "shell/LevelTextExport.h"

#include "document/LevelText.h"
#include "document/SectorLock.h"
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
    if (!built_)
        return false;
    MapModule::Ports().cells = &cells_;
    return true;
}

LevelTextExport::Result LevelTextExport::FromMapFile(const std::string& mapPath)
{
    LevelTextExport windows;
    const MapModule::LoadStatus status = MapModule::LoadMapFileStatus(mapPath);
    if (status != MapModule::LoadStatus::Loaded || !windows.built_)
        return {std::nullopt, status, windows.built_};
    return {MapModule::BuildLevelText(), status, true};
}
