#pragma once

#include "document/CellPort.h"
#include "document/OwnerTable.h"

#include <string>
#include <vector>

// A CellPort that keeps every cell's state and logs every call in order.
class RecordingCells : public CellPort {
public:
    struct Cell {
        ColorWord color = OwnerTable[0].cellColor;
        int fillStyle = FillSolid;
        int borderWidth = 1;
        int borderStyle = BorderNone;
    };
    enum class Op { Color, FillStyle, BorderWidth, BorderStyle };
    struct Call {
        Op op;
        int index;
        std::uint32_t value;
        friend bool operator==(const Call&, const Call&) = default;
    };

    explicit RecordingCells(int count);

    int CellCount() const override;
    void SetCellColor(int index, ColorWord color) override;
    int CellFillStyle(int index) const override;
    void SetCellFillStyle(int index, int fillStyle) override;
    void SetCellBorderWidth(int index, int width) override;
    void SetCellBorderStyle(int index, int style) override;

    const Cell& At(int index) const;
    Cell& Edit(int index);
    const std::vector<Call>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Number of calls that touched an index outside 0..CellCount()-1.
    int OutOfRangeCalls() const { return outOfRange_; }

    // When set, every run of cell calls is noted there as one "cells".
    std::vector<std::string>* log = nullptr;

private:
    Cell* Find(int index);
    void Record(Op op, int index, std::uint32_t value);

    std::vector<Cell> cells_;
    std::vector<Call> log_;
    Cell spare_;
    mutable int outOfRange_ = 0;
};
