#include "support/FakeMapWindow.h"

#include "document/MapModule.h"
#include "document/SectorLock.h"

namespace {
constexpr const char* NewWindowCaption = "Gridforge First Release Edition";
}

FakeMapWindow::FakeMapWindow(bool open)
{
    if (open)
        OpenMapWindow();
    openCalls = 0;
}

FakeMapWindow::~FakeMapWindow() { DropCells(); }

void FakeMapWindow::DropCells()
{
    if (MapModule::Ports().cells == cells_.get())
        MapModule::Ports().cells = nullptr;
    cells_.reset();
}

bool FakeMapWindow::CloseMapWindow()
{
    ++closeCalls;
    if (!open_)
        return true;
    if (refuseClose)
        return false;
    open_ = false;
    DropCells();
    return true;
}

void FakeMapWindow::OpenMapWindow()
{
    ++openCalls;
    DropCells();
    open_ = true;
    caption_ = NewWindowCaption;
    const std::int64_t count = MapModule::SectorCount();
    if (!buildCells || MapModule::MapWidth <= 0 || MapModule::MapHeight <= 0 || count > 2501)
        return;
    cells_ = std::make_unique<RecordingCells>(static_cast<int>(count));
    MapModule::Ports().cells = cells_.get();
    MapModule::MapChanged = MapModule::False;
    const LockBoxPort* lockBox = MapModule::Ports().lockBox;
    if (lockBox != nullptr && lockBox->Value() == 1)
        MapModule::ApplySectorLock();
}

void FakeMapWindow::SetMapCaption(const std::string& caption)
{
    caption_ = caption;
    captions.push_back(caption);
}
