#include "support/RecordingCells.h"

RecordingCells::RecordingCells(int count) : cells_(static_cast<std::size_t>(count > 0 ? count : 0)) {}

int RecordingCells::CellCount() const { return static_cast<int>(cells_.size()); }

RecordingCells::Cell* RecordingCells::Find(int index)
{
    if (index < 0 || index >= CellCount()) {
        ++outOfRange_;
        return nullptr;
    }
    return &cells_[static_cast<std::size_t>(index)];
}

void RecordingCells::Record(Op op, int index, std::uint32_t value)
{
    log_.push_back({op, index, value});
    if (log != nullptr && (log->empty() || log->back() != "cells"))
        log->push_back("cells");
}

void RecordingCells::SetCellColor(int index, ColorWord color)
{
    Record(Op::Color, index, color.value);
    if (Cell* cell = Find(index))
        cell->color = color;
}

int RecordingCells::CellFillStyle(int index) const
{
    if (index < 0 || index >= CellCount()) {
        ++outOfRange_;
        return FillSolid;
    }
    return cells_[static_cast<std::size_t>(index)].fillStyle;
}

void RecordingCells::SetCellFillStyle(int index, int fillStyle)
{
    Record(Op::FillStyle, index, static_cast<std::uint32_t>(fillStyle));
    if (Cell* cell = Find(index))
        cell->fillStyle = fillStyle;
}

void RecordingCells::SetCellBorderWidth(int index, int width)
{
    Record(Op::BorderWidth, index, static_cast<std::uint32_t>(width));
    if (Cell* cell = Find(index))
        cell->borderWidth = width;
}

void RecordingCells::SetCellBorderStyle(int index, int style)
{
    Record(Op::BorderStyle, index, static_cast<std::uint32_t>(style));
    if (Cell* cell = Find(index))
        cell->borderStyle = style;
}

const RecordingCells::Cell& RecordingCells::At(int index) const
{
    if (index < 0 || index >= CellCount())
        return spare_;
    return cells_[static_cast<std::size_t>(index)];
}

RecordingCells::Cell& RecordingCells::Edit(int index)
{
    Cell* cell = Find(index);
    return cell ? *cell : spare_;
}
