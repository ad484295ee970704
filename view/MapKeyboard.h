#pragma once

#include "view/CellGrid.h"
#include "view/SectorCursor.h"

#include <optional>

// A key as the map window takes it, with the modifiers that count.
struct MapKey {
    enum class Code { Other, Left, Right, Up, Down, Home, End, Space, Enter, Digit };
    Code code = Code::Other;
    int digit = 0;  // 0..9 for Code::Digit
    bool shift = false;
    bool control = false;
};

// What the keyboard does on the map. Arrows, Home and End (with Ctrl: the
// first and the last sector) move the sector cursor; Space and Enter paint at
// it as a press on its cell does; Shift with an arrow paints where the cursor
// was and where it goes, as a drag across the two cells does; the digits 0
// to 6 ask for that owner.
class MapKeyboard {
public:
    struct Outcome {
        bool handled = false;
        // The cursor moved or came into view: its old and new places repaint.
        bool cursorChanged = false;
        int previousSector = 0;
        // A digit: the owner to choose as its owner button does.
        std::optional<int> owner;
    };

    // Acts on a map of MapWidth x MapHeight sectors with BrushSize1 at
    // brushPosition.
    static Outcome Press(SectorCursor& cursor, CellGrid& cells, const MapKey& key, int brushPosition);

private:
    static std::optional<SectorCursor::Step> StepFor(const MapKey& key);
};
