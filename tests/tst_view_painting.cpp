#include "document/MapModule.h"
#include "document/MapWindowCycle.h"
#include "document/OwnerTable.h"
#include "support/FakeLockBox.h"
#include "support/ViewFakeFrame.h"
#include "view/CellGrid.h"
#include "view/MapGridBuilder.h"
#include "view/MapKeyboard.h"
#include "view/SectorPainter.h"

#include <QtTest>

#include <algorithm>

namespace {

const ColorWord Start = OwnerTable[0].cellColor;

// The twips point just inside the top-left corner of a sector's cell.
QPointF Inside(int sector, int width)
{
    return {MapGridBuilder::CellLeft(sector, width, 135) + 1.0, MapGridBuilder::CellTop(sector, width, 135) + 1.0};
}

// "S+Right C+Home Space 4" as the map window's keys: S+ Shift, C+ Ctrl.
QList<MapKey> Keys(const QString& text)
{
    static const QHash<QString, MapKey::Code> codes{
        {"Left", MapKey::Code::Left}, {"Right", MapKey::Code::Right}, {"Up", MapKey::Code::Up},
        {"Down", MapKey::Code::Down}, {"Home", MapKey::Code::Home},   {"End", MapKey::Code::End},
        {"Space", MapKey::Code::Space}, {"Enter", MapKey::Code::Enter}};
    QList<MapKey> keys;
    for (QString word : text.split(' ', Qt::SkipEmptyParts)) {
        MapKey key;
        for (; word.size() > 2 && word[1] == '+'; word.remove(0, 2))
            (word[0] == 'S' ? key.shift : key.control) = true;
        if (word[0].isDigit()) {
            key.code = MapKey::Code::Digit;
            key.digit = word.toInt();
        } else {
            key.code = codes.value(word, MapKey::Code::Other);
        }
        keys.append(key);
    }
    return keys;
}

}  // namespace

class TestPainting : public QObject {
    Q_OBJECT
private:
    ViewFakeFrame frame_;
    FakeLockBox lockBox_;
    CellGrid* cells_ = nullptr;
    QSize outer_;

    bool BuildMap(int width, int height)
    {
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        MapModule::Ports().cells = cells_;
        if (!MapGridBuilder::Build(*cells_, &frame_, [this](int w, int h) { outer_ = QSize(w, h); }))
            return false;
        MapModule::MapWindowBuilt();
        return true;
    }

private slots:
    void init()
    {
        MapModule::ResetDocument();
        frame_ = ViewFakeFrame{};
        lockBox_.Preset(0);
        MapModule::Ports().lockBox = &lockBox_;
        cells_ = new CellGrid;
        outer_ = QSize();
        SectorPainter::PointerPressed = false;
    }
    void cleanup()
    {
        delete cells_;
        cells_ = nullptr;
    }

    void buildLaysOutCells_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<QSize>("outer");
        QTest::newRow("10x10 top-right") << 10 << 10 << 9 << 1485 << 270 << QSize(1890, 2430);
        QTest::newRow("10x10 second row") << 10 << 10 << 10 << 270 << 405 << QSize(1890, 2430);
        QTest::newRow("10x10 design cell 1") << 10 << 10 << 1 << 405 << 270 << QSize(1890, 2430);
        QTest::newRow("50x50 last") << 50 << 50 << 2499 << 6885 << 6885 << QSize(7290, 7830);
        QTest::newRow("20x35 column 1 row 1") << 20 << 35 << 21 << 405 << 405 << QSize(3240, 5805);
        QTest::newRow("20x35 last") << 20 << 35 << 699 << 2835 << 4860 << QSize(3240, 5805);
        QTest::newRow("1x2501 fills the grid") << 1 << 2501 << 2500 << 270 << 337770 << QSize(675, 338715);
    }
    void buildLaysOutCells()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, cell);
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(QSize, outer);
        MapModule::MapChanged = MapModule::True;

        QVERIFY(BuildMap(width, height));
        QCOMPARE(cells_->CellCount(), width * height);
        const CellRecord& record = cells_->Cell(cell);
        QCOMPARE(record.left, left);
        QCOMPARE(record.top, top);
        QCOMPARE(record.width, 135);
        QCOMPARE(record.height, 135);
        QCOMPARE(outer_, outer);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QCOMPARE(frame_.label1, "X:" + std::to_string(width));
        QCOMPARE(frame_.label2, "Y:" + std::to_string(height));
        QCOMPARE(frame_.commandSwitches, std::vector<bool>{true});
        for (int k = 0; k < cells_->CellCount(); ++k) {
            const CellRecord& c = cells_->Cell(k);
            QVERIFY2(c.visible && c.opaque && c.fillColor == Start && c.fillStyle == CellPort::FillSolid,
                     qPrintable(QString("cell %1").arg(k)));
        }
    }

    void buildRefusesSizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("width 0") << 0 << 10;
        QTest::newRow("height 0") << 10 << 0;
        QTest::newRow("both 0") << 0 << 0;
        QTest::newRow("negative width") << -10 << -10;
        QTest::newRow("more sectors than the grid holds") << 51 << 50;
        QTest::newRow("one row too long") << 2502 << 1;
        QTest::newRow("product overflows int") << 65536 << 65536;
    }
    void buildRefusesSizes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        MapModule::MapChanged = MapModule::True;
        lockBox_.Preset(1);

        QVERIFY(!BuildMap(width, height));
        QCOMPARE(cells_->CellCount(), CellGrid::DesignCellCount);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QCOMPARE(frame_.label1, std::string("X:"));
        QVERIFY(frame_.commandSwitches.empty());
        QVERIFY(!outer_.isValid());
        QCOMPARE(cells_->CellFillStyle(0), CellPort::FillSolid);
    }

    void buildAppliesLock_data()
    {
        QTest::addColumn<int>("check1");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lockedCount");
        QTest::newRow("on 10x10") << 1 << 10 << 10 << 36;
        QTest::newRow("on 50x50") << 1 << 50 << 50 << 196;
        QTest::newRow("on 20x35") << 1 << 20 << 35 << 106;
        QTest::newRow("off") << 0 << 10 << 10 << 0;
        QTest::newRow("undetermined") << 2 << 10 << 10 << 0;
    }
    void buildAppliesLock()
    {
        QFETCH(int, check1);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, lockedCount);
        lockBox_.Preset(check1);
        MapModule::OwnerGrid.Fill(3);

        QVERIFY(BuildMap(width, height));
        int locked = 0;
        for (int k = 0; k < cells_->CellCount(); ++k) {
            const bool ring = k < width || k >= width * (height - 1) || k % width == 0 || k % width == width - 1;
            const bool isLocked = cells_->CellFillStyle(k) == CellPort::FillLocked;
            QVERIFY2(!isLocked || ring, qPrintable(QString("inner cell %1 locked").arg(k)));
            locked += isLocked;
            QCOMPARE(MapModule::OwnerGrid.At(k), isLocked ? 0 : 3);
        }
        QCOMPARE(locked, lockedCount);
    }

    void oneSectorMapHasOneCell()
    {
        QVERIFY(BuildMap(1, 1));
        QCOMPARE(outer_, QSize(5 * 135, 9 * 135));
        QVERIFY(!cells_->Cell(1).visible);
        // A point below the only sector hits it, never the spare design cell.
        SectorPainter::PaintAt(*cells_, 300, 1000, frame_.brushPosition);
        QCOMPARE(cells_->Cell(0).fillColor, OwnerTable[0].cellColor);
        MapModule::CurrentOwner = 6;
        SectorPainter::PaintAt(*cells_, 300, 1000, frame_.brushPosition);
        QCOMPARE(cells_->Cell(0).fillColor, OwnerTable[6].cellColor);
        QCOMPARE(cells_->Cell(1).fillColor, Start);
        QCOMPARE(MapModule::OwnerGrid.At(1), 0);
    }

    void rebuildStartsAfresh()
    {
        QVERIFY(BuildMap(20, 20));
        QVERIFY(BuildMap(10, 10));
        QCOMPARE(cells_->CellCount(), 100);
        QCOMPARE(cells_->Cell(99).left, 1485);
    }

    void paint_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("owner");
        QTest::addColumn<int>("brush");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QList<int>>("locked");
        QTest::addColumn<QList<int>>("painted");
        QTest::addColumn<bool>("changed");

        const QList<int> none;
        QTest::newRow("just right of the boundary") << 20 << 20 << 2 << 0 << QPointF(406, 271) << none << QList<int>{1}
                                                    << true;
        QTest::newRow("on the boundary goes left") << 20 << 20 << 2 << 0 << QPointF(405, 271) << none << QList<int>{0}
                                                   << true;
        QTest::newRow("on the grid's left edge") << 20 << 20 << 2 << 0 << QPointF(270, 1000) << none << none << true;
        QTest::newRow("on the grid's top edge") << 20 << 20 << 2 << 0 << QPointF(1000, 270) << none << none << true;
        QTest::newRow("right of the grid, row 3") << 20 << 20 << 1 << 0 << QPointF(99999, 676) << none
                                                  << QList<int>{79} << true;
        QTest::newRow("below the grid, column 5") << 20 << 20 << 1 << 0 << QPointF(946, 99999) << none
                                                  << QList<int>{385} << true;
        QTest::newRow("beyond the bottom-right corner") << 20 << 20 << 1 << 0 << QPointF(99999, 99999) << none
                                                        << QList<int>{399} << true;
        QTest::newRow("brush 2") << 10 << 10 << 4 << 1 << Inside(33, 10) << none << QList<int>{33, 34, 43, 44}
                                 << true;
        QTest::newRow("brush 3 wraps to the next rows") << 20 << 20 << 3 << 2 << Inside(18, 20) << none
                                                        << QList<int>{18, 19, 20, 38, 39, 40} << true;
        QTest::newRow("brush 4") << 10 << 10 << 6 << 3 << Inside(0, 10) << none
                                 << QList<int>{0, 1, 2, 3, 10, 11, 12, 13} << true;
        QTest::newRow("brush 5 on the bottom row") << 10 << 10 << 5 << 4 << Inside(92, 10) << none
                                                   << QList<int>{92, 93, 94, 95, 96} << true;
        QTest::newRow("brush 2 at the last cell") << 10 << 10 << 2 << 1 << Inside(99, 10) << none << QList<int>{99}
                                                  << true;
        QTest::newRow("brush 2 on the last column") << 10 << 10 << 2 << 1 << Inside(9, 10) << none
                                                    << QList<int>{9, 10, 19, 20} << true;
        QTest::newRow("brush 2 next to a locked cell") << 10 << 10 << 1 << 1 << Inside(11, 10) << QList<int>{22}
                                                       << QList<int>{11, 12, 21} << true;
        QTest::newRow("locked hit cell") << 10 << 10 << 1 << 4 << Inside(11, 10) << QList<int>{11} << none << false;
        QTest::newRow("pointer tool") << 10 << 10 << int(MapModule::OwnerNone) << 4 << Inside(11, 10) << none
                                      << none << true;
        QTest::newRow("owner past the table") << 10 << 10 << 7 << 0 << Inside(11, 10) << none << none << true;
        QTest::newRow("negative owner") << 10 << 10 << -1 << 0 << Inside(11, 10) << none << none << true;
        QTest::newRow("brush position past the list") << 10 << 10 << 2 << 9 << Inside(0, 10) << none
                                                      << QList<int>{0, 1, 2, 3, 4, 10, 11, 12, 13, 14} << true;
    }
    void paint()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, owner);
        QFETCH(int, brush);
        QFETCH(QPointF, at);
        QFETCH(QList<int>, locked);
        QFETCH(QList<int>, painted);
        QFETCH(bool, changed);
        QVERIFY(BuildMap(width, height));
        for (int k : locked)
            cells_->SetCellFillStyle(k, CellPort::FillLocked);
        MapModule::CurrentOwner = owner;
        frame_.brushPosition = brush;

        SectorPainter::PaintAt(*cells_, at.x(), at.y(), frame_.brushPosition);

        QVERIFY(SectorPainter::PointerPressed);
        QCOMPARE(MapModule::MapChanged, changed ? MapModule::True : MapModule::False);
        for (int k = 0; k < cells_->CellCount(); ++k) {
            const bool isPainted = painted.contains(k);
            const ColorWord color = isPainted ? OwnerTable[owner].cellColor : Start;
            QVERIFY2(cells_->Cell(k).fillColor == color, qPrintable(QString("colour of cell %1").arg(k)));
        }
        for (int k = 0; k < OwnerGridArray::Capacity; ++k)
            QVERIFY2(MapModule::OwnerGrid.At(k) == (painted.contains(k) ? owner : 0),
                     qPrintable(QString("owner of sector %1").arg(k)));
    }

    // The keyboard on the map: the cursor's moves and what Space, Enter and
    // Shift with an arrow paint, from the sector 0 at which a cursor starts.
    void keyboard_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("brush");
        QTest::addColumn<int>("owner");
        QTest::addColumn<QList<int>>("locked");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("painted");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<bool>("changed");
        const QList<int> none;
        const int pointer = MapModule::OwnerNone;
        QTest::newRow("moves alone paint nothing") << 10 << 0 << 1 << none << "Right Down Down" << none << 21 << false;
        QTest::newRow("Space paints at the cursor") << 10 << 0 << 1 << none << "Right Right Down Space" << QList<int>{12}
                                                    << 12 << true;
        QTest::newRow("Enter paints like Space") << 10 << 0 << 1 << none << "Down Enter" << QList<int>{10} << 10 << true;
        QTest::newRow("left and top edges hold") << 10 << 0 << 1 << none << "Left Up Space" << QList<int>{0} << 0 << true;
        QTest::newRow("right edge holds, End") << 10 << 0 << 1 << none << "End Right Space" << QList<int>{9} << 9 << true;
        QTest::newRow("Home goes to the row's start") << 10 << 0 << 1 << none << "Down End Home Space"
                                                      << QList<int>{10} << 10 << true;
        QTest::newRow("Ctrl+End last, bottom edge holds") << 10 << 0 << 1 << none << "C+End Down Space"
                                                          << QList<int>{99} << 99 << true;
        QTest::newRow("Ctrl+Home first") << 10 << 0 << 1 << none << "C+End C+Home Space" << QList<int>{0} << 0 << true;
        QTest::newRow("brush 3 wraps to the next rows as a click")
            << 20 << 2 << 3 << none << "End Left Space" << QList<int>{18, 19, 20, 38, 39, 40} << 18 << true;
        QTest::newRow("brush 2 next to a locked cell") << 10 << 1 << 1 << QList<int>{22} << "Right Down Space"
                                                       << QList<int>{11, 12, 21} << 11 << true;
        QTest::newRow("locked cursor sector") << 10 << 4 << 1 << QList<int>{0} << "Space Enter" << none << 0 << false;
        QTest::newRow("pointer tool marks the map changed") << 10 << 0 << pointer << none << "Space" << none << 0
                                                            << true;
        QTest::newRow("Shift+arrows paint as a drag") << 10 << 0 << 6 << none << "S+Right S+Right S+Down"
                                                      << QList<int>{0, 1, 2, 12} << 12 << true;
        QTest::newRow("Shift+arrow at an edge paints that sector") << 10 << 0 << 6 << none << "End S+Right"
                                                                   << QList<int>{9} << 9 << true;
        QTest::newRow("Shift+arrow with a brush") << 10 << 1 << 2 << none << "S+Down" << QList<int>{0, 1, 10, 11, 20, 21}
                                                  << 10 << true;
        QTest::newRow("Shift+Home and Shift+End only move") << 10 << 0 << 1 << none << "S+End S+Home S+C+End" << none
                                                            << 99 << false;
        QTest::newRow("digits and other keys change no sector") << 10 << 0 << 1 << none << "4 0 9 Other" << none << 0
                                                                << false;
    }
    void keyboard()
    {
        QFETCH(int, width);
        QFETCH(int, brush);
        QFETCH(int, owner);
        QFETCH(QList<int>, locked);
        QFETCH(QString, keys);
        QFETCH(QList<int>, painted);
        QFETCH(int, cursor);
        QFETCH(bool, changed);
        QVERIFY(BuildMap(width, 10));
        for (int k : locked)
            cells_->SetCellFillStyle(k, CellPort::FillLocked);
        MapModule::CurrentOwner = owner;
        SectorCursor at;

        for (const MapKey& key : Keys(keys))
            MapKeyboard::Press(at, *cells_, key, brush);

        QCOMPARE(at.Sector(width), cursor);
        QVERIFY(!SectorPainter::PointerPressed);
        QCOMPARE(MapModule::MapChanged, changed ? MapModule::True : MapModule::False);
        for (int k = 0; k < OwnerGridArray::Capacity; ++k) {
            QVERIFY2(MapModule::OwnerGrid.At(k) == (painted.contains(k) ? owner : 0),
                     qPrintable(QString("owner of sector %1").arg(k)));
            if (k < cells_->CellCount())
                QVERIFY2(cells_->Cell(k).fillColor == (painted.contains(k) ? OwnerTable[owner].cellColor : Start),
                         qPrintable(QString("colour of cell %1").arg(k)));
        }
    }

    // Space at every sector of a map with locked cells gives what a press on
    // that sector's cell gives.
    void spaceIsAClickEverywhere_data()
    {
        QTest::addColumn<int>("brush");
        for (int brush = 0; brush <= 4; ++brush)
            QTest::addRow("brush %d", brush + 1) << brush;
    }
    void spaceIsAClickEverywhere()
    {
        QFETCH(int, brush);
        const int width = 12;
        const int height = 10;
        const QList<int> locked{5, 17, 30, 31, 64, 119};
        for (int sector = 0; sector < width * height; ++sector) {
            QList<int> results[2];
            for (int way = 0; way < 2; ++way) {
                MapModule::ResetDocument();
                MapModule::Ports().lockBox = &lockBox_;
                QVERIFY(BuildMap(width, height));
                for (int k : locked)
                    cells_->SetCellFillStyle(k, CellPort::FillLocked);
                MapModule::CurrentOwner = 5;
                if (way == 0) {
                    SectorPainter::PaintAt(*cells_, Inside(sector, width).x(), Inside(sector, width).y(), brush);
                } else {
                    SectorCursor at;
                    for (int k = 0; k < sector % width; ++k)
                        MapKeyboard::Press(at, *cells_, Keys("Right").front(), brush);
                    for (int k = 0; k < sector / width; ++k)
                        MapKeyboard::Press(at, *cells_, Keys("Down").front(), brush);
                    MapKeyboard::Press(at, *cells_, Keys("Space").front(), brush);
                }
                for (int k = 0; k < OwnerGridArray::Capacity; ++k)
                    results[way].append(MapModule::OwnerGrid.At(k));
                results[way].append(MapModule::MapChanged);
            }
            QVERIFY2(results[0] == results[1], qPrintable(QString("sector %1").arg(sector)));
        }
    }

    void digitsAskForTheirOwner_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("owner");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("4") << "4" << 4;
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("7 is no owner") << "7" << -1;
        QTest::newRow("Ctrl+3 is not the map's") << "C+3" << -1;
    }
    void digitsAskForTheirOwner()
    {
        QFETCH(QString, key);
        QFETCH(int, owner);
        QVERIFY(BuildMap(10, 10));
        SectorCursor at;
        const MapKeyboard::Outcome outcome = MapKeyboard::Press(at, *cells_, Keys(key).front(), 0);
        QCOMPARE(outcome.handled, owner >= 0);
        QCOMPARE(outcome.owner.value_or(-1), owner);
        QVERIFY(!at.Shown());
    }

    void brushAndOwnerAreReadAtEveryPaint()
    {
        QVERIFY(BuildMap(10, 10));
        MapModule::CurrentOwner = 1;
        SectorPainter::PaintAt(*cells_, Inside(0, 10).x(), Inside(0, 10).y(), frame_.brushPosition);
        frame_.brushPosition = 1;
        MapModule::CurrentOwner = 6;
        SectorPainter::PaintAt(*cells_, Inside(50, 10).x(), Inside(50, 10).y(), frame_.brushPosition);
        QCOMPARE(MapModule::OwnerGrid.At(0), 1);
        QCOMPARE(MapModule::OwnerGrid.At(1), 0);
        for (int k : {50, 51, 60, 61})
            QCOMPARE(MapModule::OwnerGrid.At(k), 6);
    }

    void cellAccessIsChecked_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("exists");
        QTest::newRow("first") << 0 << true;
        QTest::newRow("last") << 99 << true;
        QTest::newRow("one past the last") << 100 << false;
        QTest::newRow("negative") << -1 << false;
    }
    void cellAccessIsChecked()
    {
        QFETCH(int, index);
        QFETCH(bool, exists);
        QVERIFY(BuildMap(10, 10));
        QList<int> reported;
        cells_->SetChangeCallback([&](int k) { reported.append(k); });

        cells_->SetCellColor(index, OwnerTable[1].cellColor);
        cells_->SetCellFillStyle(index, CellPort::FillLocked);
        cells_->SetCellBorderStyle(index, CellPort::BorderSolid);
        cells_->SetCellBorderWidth(index, 3);

        QCOMPARE(cells_->Find(index).has_value(), exists);
        QCOMPARE(cells_->MoveCell(index, 0, 0, 135, 135), exists);
        QCOMPARE(cells_->CellFillStyle(index), exists ? CellPort::FillLocked : CellPort::FillSolid);
        QCOMPARE(reported.count(index), exists ? 6 : 0);
        QCOMPARE(reported.size(), reported.count(index));
        if (exists) {
            const CellRecord cell = *cells_->Find(index);
            QCOMPARE(cell.fillColor, OwnerTable[1].cellColor);
            QCOMPARE(cell.borderStyle, CellPort::BorderSolid);
            QCOMPARE(cell.borderWidth, 3);
        }
    }

    void gridStopsAtCapacity()
    {
        int created = 0;
        while (cells_->CreateCopyOfCell0())
            ++created;
        QCOMPARE(cells_->CellCount(), OwnerGridArray::Capacity);
        QCOMPARE(created, OwnerGridArray::Capacity - CellGrid::DesignCellCount);
        QVERIFY(!cells_->Cell(2).visible);
    }
};

QTEST_GUILESS_MAIN(TestPainting)
#include "tst_view_painting.moc"
