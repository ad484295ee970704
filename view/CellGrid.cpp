#include "view/CellGrid.h"

CellGrid::CellGrid()
{
    cells_.reserve(MaxCells);
    CellRecord design;
    design.width = DesignCellSize;
    design.height = DesignCellSize;
    cells_.push_back(design);
    design.left = DesignCellSize;
    cells_.push_back(design);
}

CellRecord* CellGrid::At(int index)
{
    return Contains(index) ? &cells_[static_cast<std::size_t>(index)] : nullptr;
}

std::optional<CellRecord> CellGrid::Find(int index) const
{
    if (!Contains(index))
        return std::nullopt;
    return Cell(index);
}

void CellGrid::Changed(int index)
{
    if (changed_)
        changed_(index);
}

void CellGrid::SetCellColor(int index, ColorWord color)
{
    if (CellRecord* cell = At(index)) {
        cell->fillColor = color;
        Changed(index);
    }
}

int CellGrid::CellFillStyle(int index) const
{
    return Contains(index) ? Cell(index).fillStyle : FillSolid;
}

void CellGrid::SetCellFillStyle(int index, int fillStyle)
{
    if (CellRecord* cell = At(index)) {
        cell->fillStyle = fillStyle;
        Changed(index);
    }
}

void CellGrid::SetCellBorderWidth(int index, int width)
{
    if (CellRecord* cell = At(index)) {
        cell->borderWidth = width;
        Changed(index);
    }
}

void CellGrid::SetCellBorderStyle(int index, int style)
{
    if (CellRecord* cell = At(index)) {
        cell->borderStyle = style;
        Changed(index);
    }
}

std::optional<int> CellGrid::CreateCopyOfCell0()
{
    if (CellCount() >= MaxCells)
        return std::nullopt;
    CellRecord copy = cells_.front();
    copy.visible = false;
    cells_.push_back(copy);
    return CellCount() - 1;
}

bool CellGrid::MoveCell(int index, int left, int top, int width, int height)
{
    CellRecord* cell = At(index);
    if (!cell || width < 0 || height < 0)
        return false;
    Changed(index);  // the old place needs repainting too
    cell->left = left;
    cell->top = top;
    cell->width = width;
    cell->height = height;
    Changed(index);
    return true;
}

bool CellGrid::SetCellOpaque(int index, bool opaque)
{
    CellRecord* cell = At(index);
    if (!cell)
        return false;
    cell->opaque = opaque;
    Changed(index);
    return true;
}

bool CellGrid::SetCellVisible(int index, bool visible)
{
    CellRecord* cell = At(index);
    if (!cell)
        return false;
    cell->visible = visible;
    Changed(index);
    return true;
}

void CellGrid::DiscardCreatedCells()
{
    if (cells_.size() > DesignCellCount)
        cells_.resize(DesignCellCount);
}
