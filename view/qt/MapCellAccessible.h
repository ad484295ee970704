#pragma once

#include <QAccessibleInterface>
#include <QAccessibleTableCellInterface>

class MapAccessible;

// One sector of the map table, as a screen reader reads it. It lives as long
// as the table that made it.
class MapCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    MapCellAccessible(MapAccessible& table, int index);

    int Index() const { return index_; }
    // The name a reader was last told of, to announce only real changes.
    QString reportedName;
    // True while a change of this cell waits to be announced.
    bool queued = false;

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    MapAccessible& table_;
    int index_;
};
