#pragma once

#include "view/FrameWindowPort.h"

#include <string>
#include <vector>

// The frame window as the map window sees it: keeps the size labels, logs
// every switch of the map commands and every owner asked for, and hands
// out a brush position.
class ViewFakeFrame : public FrameWindowPort {
public:
    void SetMapSizeLabels(int width, int height) override;
    void SetMapCommandsEnabled(bool enabled) override { commandSwitches.push_back(enabled); }
    int BrushSizePosition() const override { return brushPosition; }
    void SelectOwner(int owner) override { chosenOwners.push_back(owner); }

    // The commands' state after the last switch; false when never switched.
    bool CommandsEnabled() const { return !commandSwitches.empty() && commandSwitches.back(); }

    std::string label1 = "X:";
    std::string label2 = "Y:";
    std::vector<bool> commandSwitches;
    int brushPosition = 0;
    std::vector<int> chosenOwners;
};
