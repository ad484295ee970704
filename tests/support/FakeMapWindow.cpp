#include "support/FakeMapWindow.h"

#include "components/ProgramCaption.h"
#include "document/MapModule.h"

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

void FakeMapWindow::Note(const std::string& call)
{
    if (log != nullptr)
        log->push_back(call);
}

bool FakeMapWindow::CloseMapWindow()
{
    ++closeCalls;
    if (open_ && refuseClose) {
        Note("close refused");
        return false;
    }
    Note("close");
    open_ = false;
    DropCells();
    return true;
}

bool FakeMapWindow::OpenMapWindow()
{
    ++openCalls;
    DropCells();
    caption_ = ProgramCaption;
    const std::int64_t count = MapModule::SectorCount();
    open_ = buildCells && MapModule::MapWidth > 0 && MapModule::MapHeight > 0 && count <= 2501;
    Note(open_ ? "open" : "open failed");
    if (!open_)
        return false;
    cells_ = std::make_unique<RecordingCells>(static_cast<int>(count));
    cells_->log = log;
    MapModule::Ports().cells = cells_.get();
    return true;
}

void FakeMapWindow::SetMapCaption(const std::string& caption)
{
    Note("caption " + caption);
    caption_ = caption;
    captions.push_back(caption);
}
