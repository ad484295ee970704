#pragma once

// What the map window needs of the frame window.
class FrameWindowPort {
public:
    virtual ~FrameWindowPort() = default;
    // Label1 = "X:" + width, Label2 = "Y:" + height.
    virtual void SetMapSizeLabels(int width, int height) = 0;
    // Toolbar3 buttons 3 and 5 and Command3.
    virtual void SetMapCommandsEnabled(bool enabled) = 0;
    // Selected position of BrushSize1: 0..4 for the brush sizes "1".."5".
    virtual int BrushSizePosition() const = 0;
    // Chooses an owner (0..6) as a press on its owner button does.
    virtual void SelectOwner(int owner) = 0;
};
