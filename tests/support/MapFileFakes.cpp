#include "support/MapFileFakes.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"

void MapFileFakes::Install()
{
    MapModule::ResetDocument();
    messages = std::make_unique<FakeMessageBox>();
    dialog = std::make_unique<FakeFileDialog>();
    lockBox = std::make_unique<FakeLockBox>();
    window = std::make_unique<FakeMapWindow>();
    InstallPorts();
}

void MapFileFakes::InstallPorts()
{
    MapModule::PortSet& ports = MapModule::Ports();
    ports.messages = messages.get();
    ports.fileDialog = dialog.get();
    ports.lockBox = lockBox.get();
    ports.mapWindow = window.get();
}

void MapFileFakes::Remove()
{
    MapModule::ResetDocument();
    window.reset();
}

void MapFileFakes::ShowMap(int width, int height, int (*owner)(int))
{
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    window->OpenMapWindow();
    for (int s = 0; s < OwnerGridArray::Capacity; ++s)
        MapModule::OwnerGrid.Set(s, owner(s));
    if (RecordingCells* cells = window->Cells()) {
        for (int s = 0; s < cells->CellCount(); ++s)
            cells->Edit(s).color = OwnerTable[static_cast<std::size_t>(owner(s))].cellColor;
        cells->ClearLog();
    }
    window->closeCalls = 0;
    window->openCalls = 0;
    window->captions.clear();
    lockBox->handlerRuns = 0;
}
