#include "view/SectorCursor.h"

#include <algorithm>

void SectorCursor::Clamp(int width, int height)
{
    column_ = std::clamp(column_, 0, std::max(width - 1, 0));
    row_ = std::clamp(row_, 0, std::max(height - 1, 0));
}

bool SectorCursor::Move(Step step, int width, int height)
{
    const int column = column_;
    const int row = row_;
    switch (step) {
    case Step::Left: --column_; break;
    case Step::Right: ++column_; break;
    case Step::Up: --row_; break;
    case Step::Down: ++row_; break;
    case Step::RowStart: column_ = 0; break;
    case Step::RowEnd: column_ = width - 1; break;
    case Step::First: column_ = row_ = 0; break;
    case Step::Last:
        column_ = width - 1;
        row_ = height - 1;
        break;
    }
    Clamp(width, height);
    return column_ != column || row_ != row;
}
