#pragma once

#include "document/MapWindowPort.h"
#include "support/RecordingCells.h"

#include <memory>
#include <string>
#include <vector>

// The map window as the document routines see it. Opening builds fresh
// RecordingCells for the current sizes (when buildCells is set) and installs
// them as the cell port; a size of 0 builds nothing and fails. Closing removes
// the cells, unless refuseClose is set. Every call is noted in log.
class FakeMapWindow : public MapWindowPort {
public:
    explicit FakeMapWindow(bool open = false);
    ~FakeMapWindow() override;

    bool HasMapWindow() const { return open_; }
    bool CloseMapWindow() override;
    bool OpenMapWindow() override;
    void SetMapCaption(const std::string& caption) override;

    RecordingCells* Cells() const { return cells_.get(); }
    const std::string& Caption() const { return caption_; }

    bool refuseClose = false;
    bool buildCells = true;
    int closeCalls = 0;
    int openCalls = 0;
    std::vector<std::string> captions;
    std::vector<std::string>* log = nullptr;

private:
    void DropCells();
    void Note(const std::string& call);

    bool open_ = false;
    std::string caption_;
    std::unique_ptr<RecordingCells> cells_;
};
