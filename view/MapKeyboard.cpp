#include "view/MapKeyboard.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "view/SectorPainter.h"

std::optional<SectorCursor::Step> MapKeyboard::StepFor(const MapKey& key)
{
    using Step = SectorCursor::Step;
    switch (key.code) {
    case MapKey::Code::Left: return Step::Left;
    case MapKey::Code::Right: return Step::Right;
    case MapKey::Code::Up: return Step::Up;
    case MapKey::Code::Down: return Step::Down;
    case MapKey::Code::Home: return key.control ? Step::First : Step::RowStart;
    case MapKey::Code::End: return key.control ? Step::Last : Step::RowEnd;
    default: return std::nullopt;
    }
}

MapKeyboard::Outcome MapKeyboard::Press(SectorCursor& cursor, CellGrid& cells, const MapKey& key, int brushPosition)
{
    Outcome outcome;
    const int width = MapModule::MapWidth;
    const int height = MapModule::MapHeight;
    if (width <= 0 || height <= 0)
        return outcome;
    if (key.code == MapKey::Code::Digit) {
        if (key.control || key.digit < 0 || key.digit >= OwnerCount)
            return outcome;
        outcome.handled = true;
        outcome.owner = key.digit;
        return outcome;
    }

    cursor.Clamp(width, height);
    outcome.previousSector = cursor.Sector(width);
    const bool wasShown = cursor.Shown();
    if (key.code == MapKey::Code::Space || key.code == MapKey::Code::Enter) {
        SectorPainter::PaintSector(cells, cursor.Sector(width), brushPosition);
    } else if (const std::optional<SectorCursor::Step> step = StepFor(key)) {
        const bool drag = key.shift && key.code != MapKey::Code::Home && key.code != MapKey::Code::End;
        if (drag)
            SectorPainter::PaintSector(cells, cursor.Sector(width), brushPosition);
        cursor.Move(*step, width, height);
        if (drag)
            SectorPainter::PaintSector(cells, cursor.Sector(width), brushPosition);
    } else {
        return outcome;
    }
    cursor.Show();
    outcome.handled = true;
    outcome.cursorChanged = !wasShown || cursor.Sector(width) != outcome.previousSector;
    return outcome;
}
