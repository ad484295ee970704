#include "view/qt/MapCellAccessible.h"

#include "view/qt/MapAccessible.h"

MapCellAccessible::MapCellAccessible(MapAccessible& table, int index)
    : reportedName(table.CellName(index)), table_(table), index_(index)
{
}

bool MapCellAccessible::isValid() const
{
    return table_.isValid() && index_ < table_.rowCount() * table_.columnCount();
}

QWindow* MapCellAccessible::window() const { return table_.window(); }

QAccessibleInterface* MapCellAccessible::parent() const { return &table_; }

QAccessibleInterface* MapCellAccessible::table() const { return &table_; }

QString MapCellAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    return table_.CellName(index_);
}

QRect MapCellAccessible::rect() const { return isValid() ? table_.CellRect(index_) : QRect(); }

QAccessible::State MapCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid())
        return state;
    state.invisible = !table_.CellVisible(index_);
    state.readOnly = table_.CellLocked(index_);
    state.focusable = true;
    state.focused = table_.CellFocused(index_);
    return state;
}

void* MapCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

int MapCellAccessible::columnIndex() const
{
    const int columns = table_.columnCount();
    return columns > 0 ? index_ % columns : -1;
}

int MapCellAccessible::rowIndex() const
{
    const int columns = table_.columnCount();
    return columns > 0 ? index_ / columns : -1;
}
