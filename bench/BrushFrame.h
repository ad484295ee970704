#pragma once

#include "view/FrameWindowPort.h"

// The frame as the map window sees it in the benchmarks, with a brush
// selected (brush "5" unless a benchmark chooses another).
class BrushFrame : public FrameWindowPort {
public:
    void SetMapSizeLabels(int, int) override {}
    void SetMapCommandsEnabled(bool) override {}
    int BrushSizePosition() const override { return brushPosition; }
    void SelectOwner(int) override {}
    int brushPosition = 4;
};
