#pragma once

#include "base/ColorWord.h"
#include "document/CellPort.h"

#include <functional>
#include <optional>
#include <vector>

// One sector cell of the map window, positions and sizes in twips.
struct CellRecord {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    ColorWord fillColor{};
    bool opaque = true;
    int fillStyle = CellPort::FillSolid;
    int borderWidth = 1;
    int borderStyle = CellPort::BorderNone;
    bool visible = true;
};

// The sector cells of the map window as plain records, indexed by sector.
// Cells 0 and 1 are the window's design cells; the rest are created as
// copies of cell 0. Every access is checked: an index that names no cell is
// ignored (and reads as nothing).
class CellGrid : public CellPort {
public:
    static constexpr int DesignCellSize = 135;
    static constexpr int DesignCellCount = 2;
    // The grid never grows past this many cells.
    static constexpr int MaxCells = 2501;

    CellGrid();

    int CellCount() const override { return static_cast<int>(cells_.size()); }
    void SetCellColor(int index, ColorWord color) override;
    int CellFillStyle(int index) const override;
    void SetCellFillStyle(int index, int fillStyle) override;
    void SetCellBorderWidth(int index, int width) override;
    void SetCellBorderStyle(int index, int style) override;

    // Appends a hidden copy of cell 0; returns its index, or nothing when the
    // grid is full.
    std::optional<int> CreateCopyOfCell0();
    bool MoveCell(int index, int left, int top, int width, int height);
    bool SetCellOpaque(int index, bool opaque);
    bool SetCellVisible(int index, bool visible);
    // Drops every cell created after the design cells.
    void DiscardCreatedCells();

    bool Contains(int index) const { return index >= 0 && index < CellCount(); }
    // The record of a cell; only valid for Contains(index).
    const CellRecord& Cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }
    std::optional<CellRecord> Find(int index) const;

    // Called with the index of every cell whose look changed.
    void SetChangeCallback(std::function<void(int index)> callback) { changed_ = std::move(callback); }

private:
    CellRecord* At(int index);
    void Changed(int index);

    std::vector<CellRecord> cells_;
    std::function<void(int)> changed_;
};
