#include "view/qt/MapAccessible.h"

#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "view/qt/LowPriorityCall.h"
#include "view/qt/MapCellAccessible.h"
#include "view/qt/ReaderListening.h"
#include "view/qt/frmMain.h"

#include <algorithm>

namespace {

QAccessibleInterface* MapFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("frmMain") && object != nullptr && object->isWidgetType())
        return new MapAccessible(*static_cast<frmMain*>(object));
    return nullptr;
}

MapAccessible* TableOf(frmMain& map) { return dynamic_cast<MapAccessible*>(QAccessible::queryAccessibleInterface(&map)); }

QString OwnerName(std::int32_t owner)
{
    if (owner == MapModule::OwnerNone)
        return QStringLiteral("なし（ポインタ）");
    if (!IsOwner(owner))
        return QStringLiteral("不明なオーナー %1").arg(owner);
    return QString::fromUtf8(OwnerTable[static_cast<std::size_t>(owner)].replaceName);
}

}  // namespace

MapAccessible::MapAccessible(frmMain& map) : QAccessibleWidget(&map, QAccessible::Table) {}

MapAccessible::~MapAccessible()
{
    for (const QAccessible::Id id : cellIds_) {
        if (id != 0 && QAccessible::accessibleInterface(id) != nullptr)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void MapAccessible::Install()
{
    static const bool installed = (QAccessible::installFactory(MapFactory), true);
    Q_UNUSED(installed);
    ReaderListening::Follow();
}

void MapAccessible::CellChanged(frmMain& map, int index)
{
    if (MapAccessible* table = TableOf(map))
        table->QueueChange(index);
}

void MapAccessible::DescriptionChanged(frmMain* map)
{
    if (map == nullptr || !QAccessible::isActive())
        return;
    QAccessibleEvent event(map, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void MapAccessible::CursorMoved(frmMain& map, int index)
{
    MapAccessible* table = TableOf(map);
    if (table == nullptr)
        return;
    table->cursor_ = index >= 0 && index < table->SectorCount() ? index : -1;
    if (table->cursor_ >= 0 && QAccessible::isActive() && map.hasFocus()) {
        QAccessibleEvent event(table->Cell(table->cursor_), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

frmMain& MapAccessible::Map() const { return *static_cast<frmMain*>(widget()); }

int MapAccessible::columnCount() const
{
    // The document's size, as long as the window holds a cell for every sector.
    const std::int64_t sectors = MapModule::SectorCount();
    return sectors > 0 && sectors <= Map().Cells().CellCount() ? MapModule::MapWidth : 0;
}

int MapAccessible::rowCount() const { return columnCount() > 0 ? MapModule::MapHeight : 0; }

QString MapAccessible::CellName(int index) const
{
    const QString owner = OwnerName(MapModule::OwnerGrid.At(index));
    return CellLocked(index) ? owner + QStringLiteral("（ロック）") : owner;
}

QRect MapAccessible::CellRect(int index) const
{
    const QRect local = Map().CellRectPixels(index);
    return QRect(Map().mapToGlobal(local.topLeft()), local.size());
}

bool MapAccessible::CellVisible(int index) const { return Map().Cells().Find(index).value_or(CellRecord{}).visible; }

bool MapAccessible::CellLocked(int index) const
{
    return Map().Cells().CellFillStyle(index) == CellPort::FillLocked;
}

void* MapAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString MapAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("マップ");
    case QAccessible::Description:
        return QStringLiteral("幅 %1 × 高さ %2 セクタ、オーナー: %3、ブラシサイズ: %4")
            .arg(columnCount())
            .arg(rowCount())
            .arg(OwnerName(MapModule::CurrentOwner))
            .arg(Map().BrushSizePosition() + 1);
    default:
        return QAccessibleWidget::text(t);
    }
}

int MapAccessible::childCount() const { return SectorCount(); }

QAccessibleInterface* MapAccessible::child(int index) const
{
    return index >= 0 && index < SectorCount() ? Cell(index) : nullptr;
}

int MapAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const MapCellAccessible*>(child);
    return cell != nullptr && cell->table() == this && cell->Index() < SectorCount() ? cell->Index() : -1;
}

QAccessibleInterface* MapAccessible::childAt(int x, int y) const
{
    const QPoint local = Map().mapFromGlobal(QPoint(x, y));
    for (int index = 0; index < SectorCount(); ++index) {
        if (Map().CellRectPixels(index).contains(local))
            return Cell(index);
    }
    return nullptr;
}

QAccessibleInterface* MapAccessible::focusChild() const
{
    return cursor_ >= 0 && cursor_ < SectorCount() && Map().hasFocus() ? Cell(cursor_) : nullptr;
}

QAccessibleInterface* MapAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return Cell(row * columnCount() + column);
}

MapCellAccessible* MapAccessible::KnownCell(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= cellIds_.size() || cellIds_[static_cast<std::size_t>(index)] == 0)
        return nullptr;
    return static_cast<MapCellAccessible*>(QAccessible::accessibleInterface(cellIds_[static_cast<std::size_t>(index)]));
}

MapCellAccessible* MapAccessible::Cell(int index) const
{
    if (MapCellAccessible* known = KnownCell(index))
        return known;
    if (cellIds_.size() <= static_cast<std::size_t>(index))
        cellIds_.resize(static_cast<std::size_t>(SectorCount()), 0);
    auto* cell = new MapCellAccessible(const_cast<MapAccessible&>(*this), index);
    cellIds_[static_cast<std::size_t>(index)] = QAccessible::registerAccessibleInterface(cell);
    return cell;
}

void MapAccessible::QueueChange(int index)
{
    if (index < 0 || index >= SectorCount())
        return;
    changedFirst_ = changedFirst_ < 0 ? index : std::min(changedFirst_, index);
    changedLast_ = std::max(changedLast_, index);
    // Only a cell a reader has asked for can have an old name to correct.
    if (MapCellAccessible* cell = KnownCell(index); cell != nullptr && !cell->queued) {
        cell->queued = true;
        pending_.push_back(index);
    }
    if (sendQueued_)
        return;
    sendQueued_ = true;
    if (sender_ == nullptr) {
        frmMain* map = &Map();
        sender_ = new LowPriorityCall(map, [map] {
            if (MapAccessible* table = TableOf(*map))
                table->SendChanges();
        });
    }
    sender_->Post();
}

void MapAccessible::SendChanges()
{
    sendQueued_ = false;
    const std::vector<int> changed = std::move(pending_);
    pending_.clear();
    for (const int index : changed) {
        MapCellAccessible* cell = KnownCell(index);
        if (cell == nullptr)
            continue;
        cell->queued = false;
        const QString name = CellName(index);
        if (name == cell->reportedName)
            continue;
        cell->reportedName = name;
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    const int columns = columnCount();
    if (changedFirst_ < 0 || columns == 0) {
        changedFirst_ = changedLast_ = -1;
        return;
    }
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
    event.setFirstRow(changedFirst_ / columns);
    event.setLastRow(changedLast_ / columns);
    const bool oneRow = event.firstRow() == event.lastRow();
    event.setFirstColumn(oneRow ? changedFirst_ % columns : 0);
    event.setLastColumn(oneRow ? changedLast_ % columns : columns - 1);
    changedFirst_ = changedLast_ = -1;
    QAccessible::updateAccessibility(&event);
}
