#pragma once

#include "document/MapWindowPort.h"
#include "support/RecordingCells.h"

#include <memory>
#include <string>
#include <vector>

// The map window as the document routines see it. Opening builds fresh
// RecordingCells for the current sizes (when buildCells is set), installs
// them as the cell port, clears MapChanged and applies the lock when the lock
// box holds 1, as the real window's build does; a size of 0 builds nothing.
// Closing removes the cells, unless refuseClose is set.
class FakeMapWindow : public MapWindowPort {
public:
    explicit FakeMapWindow(bool open = false);
    ~FakeMapWindow() override;

    bool HasMapWindow() const override { return open_; }
    bool CloseMapWindow() override;
    void OpenMapWindow() override;
    void SetMapCaption(const std::string& caption) override;

    RecordingCells* Cells() const { return cells_.get(); }
    const std::string& Caption() const { return caption_; }

    bool refuseClose = false;
    bool buildCells = true;
    int closeCalls = 0;
    int openCalls = 0;
    std::vector<std::string> captions;

private:
    void DropCells();

    bool open_ = false;
    std::string caption_;
    std::unique_ptr<RecordingCells> cells_;
};
