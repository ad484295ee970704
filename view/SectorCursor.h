#pragma once

// The keyboard's place on the map: one sector, given by column and row, that
// the keys move and that always lies inside the map. It is shown only once
// the keyboard has used it, and hidden again when the pointer paints.
class SectorCursor {
public:
    enum class Step { Left, Right, Up, Down, RowStart, RowEnd, First, Last };

    // Moves one step on a map of width x height sectors; a step past an edge
    // stays at the edge. True when the sector changed.
    bool Move(Step step, int width, int height);
    // Brings the cursor back inside a map of that size (a map of no sectors
    // leaves it at sector 0).
    void Clamp(int width, int height);

    int Column() const { return column_; }
    int Row() const { return row_; }
    // The sector index on a map of that width.
    int Sector(int width) const { return row_ * width + column_; }

    bool Shown() const { return shown_; }
    void Show() { shown_ = true; }
    void Hide() { shown_ = false; }

private:
    int column_ = 0;
    int row_ = 0;
    bool shown_ = false;
};
