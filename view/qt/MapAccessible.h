#pragma once

#include <QAccessibleTableInterface>
#include <QAccessibleWidget>

#include <vector>

class LowPriorityCall;
class MapCellAccessible;
class frmMain;

// What a screen reader reads of the map window: a table of MapHeight rows and
// MapWidth columns, one cell per sector, named by the sector's owner. The
// table's description gives the size, the chosen owner and the brush size.
// Cells are made when a reader first asks for them; a change to a cell that a
// reader knows is announced as a change of its name once the action that made
// it has ended and the window has been repainted, so that the owner grid and
// the cells agree by then and the picture comes first.
class MapAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit MapAccessible(frmMain& map);
    ~MapAccessible() override;

    // Makes the toolkit ask this class for every map window; once is enough.
    static void Install();
    // A cell's look changed. Call only while ReaderListening::Now().
    static void CellChanged(frmMain& map, int index);
    // The chosen owner or the brush size changed: the description did.
    static void DescriptionChanged(frmMain* map);
    // The keyboard's sector cursor moved to a sector: a reader reads that cell
    // as the focused one. -1: no cursor.
    static void CursorMoved(frmMain& map, int index);

    frmMain& Map() const;
    // The name of the sector's cell: its owner, marked when it is locked.
    QString CellName(int index) const;
    QRect CellRect(int index) const;
    bool CellVisible(int index) const;
    bool CellLocked(int index) const;
    bool CellFocused(int index) const { return index == cursor_ && focusChild() != nullptr; }

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int SectorCount() const { return rowCount() * columnCount(); }
    MapCellAccessible* Cell(int index) const;
    MapCellAccessible* KnownCell(int index) const;
    void QueueChange(int index);
    void SendChanges();

    // The ids of the cells made so far, by sector; 0 for none.
    mutable std::vector<QAccessible::Id> cellIds_;
    std::vector<int> pending_;
    int changedFirst_ = -1;
    int changedLast_ = -1;
    int cursor_ = -1;
    bool sendQueued_ = false;
    // Sends the changes after the map's repaint, so that they never delay it.
    LowPriorityCall* sender_ = nullptr;
};
