#pragma once

#include "support/FakeFileDialog.h"
#include "support/FakeLockBox.h"
#include "support/FakeMapWindow.h"
#include "support/FakeMessageBox.h"

#include <memory>

// The ports the map file routines talk to, as fakes. Install() resets the
// document and puts fresh fakes in its ports; Remove() resets it again.
struct MapFileFakes {
    void Install();
    // Puts the present fakes back into the ports (after a ResetDocument).
    void InstallPorts();
    void Remove();
    // An open width x height map: the grid holds owner(s) for every entry,
    // the cells show it, and the fakes' counters and logs are cleared.
    void ShowMap(int width, int height, int (*owner)(int));

    std::unique_ptr<FakeMessageBox> messages;
    std::unique_ptr<FakeFileDialog> dialog;
    std::unique_ptr<FakeLockBox> lockBox;
    std::unique_ptr<FakeMapWindow> window;
};
