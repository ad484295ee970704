#pragma once

#include "base/ColorWord.h"

// The sector cells of the map view, addressed by sector index.
class CellPort {
public:
    static constexpr int FillSolid = 1;   // not locked
    static constexpr int FillLocked = 4;  // upward diagonal hatch: the lock marker
    static constexpr int BorderNone = 0;
    static constexpr int BorderSolid = 1;

    virtual ~CellPort() = default;
    virtual int CellCount() const = 0;
    virtual void SetCellColor(int index, ColorWord color) = 0;
    virtual int CellFillStyle(int index) const = 0;
    virtual void SetCellFillStyle(int index, int fillStyle) = 0;
    virtual void SetCellBorderWidth(int index, int width) = 0;
    virtual void SetCellBorderStyle(int index, int style) = 0;
};
