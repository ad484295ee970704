#pragma once

#include "document/FileDialogPort.h"

#include <deque>

// File dialogs that return scripted paths; an empty script or a scripted
// nullopt is a cancel.
class FakeFileDialog : public FileDialogPort {
public:
    std::deque<std::optional<std::string>> savePaths;
    std::deque<std::optional<std::string>> openPaths;
    int saveShown = 0;
    int openShown = 0;

    std::optional<std::string> ChooseSavePath() override;
    std::optional<std::string> ChooseOpenPath() override;
};
