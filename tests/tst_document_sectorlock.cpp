#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "document/SectorLock.h"
#include "support/FakeLockBox.h"
#include "support/RecordingCells.h"

#include <QtTest>

#include <memory>

namespace {

constexpr std::uint32_t OwnerZeroWord = 0x4080FF;

bool OnRing(int s, int width, int height)
{
    const int x = s % width;
    const int y = s / width;
    return x == 0 || y == 0 || x == width - 1 || y == height - 1;
}

int InitialOwner(int s) { return s % 6 + 1; }

}  // namespace

class TestSectorLock : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingCells> cells;
    std::unique_ptr<FakeLockBox> lockBox;

    void SetUpMap(int width, int height)
    {
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        for (int s = 0; s < OwnerGridArray::Capacity; ++s)
            MapModule::OwnerGrid.Set(s, InitialOwner(s));
        cells = std::make_unique<RecordingCells>(std::max(0, width * height));
        for (int s = 0; s < cells->CellCount(); ++s)
            cells->Edit(s).color = OwnerTable[InitialOwner(s)].cellColor;
        MapModule::Ports().cells = cells.get();
        MapModule::Ports().lockBox = lockBox.get();
    }

private slots:
    void init()
    {
        MapModule::ResetDocument();
        lockBox = std::make_unique<FakeLockBox>();
    }
    void cleanup()
    {
        MapModule::ResetDocument();
        cells.reset();
    }

    void lockAndUnlock_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("ringSize");
        QTest::addColumn<int>("changedFlag");
        QTest::newRow("10x10") << 10 << 10 << 36 << -1;
        QTest::newRow("50x50") << 50 << 50 << 196 << 0;
        QTest::newRow("20x35") << 20 << 35 << 106 << -1;
        QTest::newRow("3x3 leaves one inner sector") << 3 << 3 << 8 << 0;
        QTest::newRow("1x1 whole map") << 1 << 1 << 1 << -1;
        QTest::newRow("2x5 whole map") << 2 << 5 << 10 << 0;
        QTest::newRow("5x2 whole map") << 5 << 2 << 10 << -1;
        QTest::newRow("1x4 whole map") << 1 << 4 << 4 << 0;
    }
    void lockAndUnlock()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, ringSize);
        QFETCH(int, changedFlag);
        SetUpMap(width, height);
        MapModule::MapChanged = static_cast<std::int16_t>(changedFlag);
        const int count = width * height;

        lockBox->SetValue(1);
        QCOMPARE(lockBox->handlerRuns, 1);
        int ring = 0;
        for (int s = 0; s < count; ++s) {
            const auto& cell = cells->At(s);
            if (OnRing(s, width, height)) {
                ++ring;
                QCOMPARE(MapModule::OwnerGrid.At(s), 0);
                QCOMPARE(cell.fillStyle, CellPort::FillLocked);
                QCOMPARE(cell.color.value, OwnerZeroWord);
            } else {
                QCOMPARE(MapModule::OwnerGrid.At(s), InitialOwner(s));
                QCOMPARE(cell.fillStyle, CellPort::FillSolid);
                QCOMPARE(cell.color, OwnerTable[InitialOwner(s)].cellColor);
            }
        }
        QCOMPARE(ring, ringSize);
        for (int corner : {0, width - 1, count - width, count - 1})
            QCOMPARE(cells->At(corner).fillStyle, CellPort::FillLocked);
        // Entries past the map keep their owners.
        QCOMPARE(MapModule::OwnerGrid.At(count), InitialOwner(count));

        lockBox->SetValue(0);
        for (int s = 0; s < count; ++s) {
            QCOMPARE(cells->At(s).fillStyle, CellPort::FillSolid);
            const int owner = OnRing(s, width, height) ? 0 : InitialOwner(s);
            QCOMPARE(MapModule::OwnerGrid.At(s), owner);
            QCOMPARE(cells->At(s).color, OwnerTable[owner].cellColor);
        }
        QCOMPARE(cells->OutOfRangeCalls(), 0);
        QCOMPARE(MapModule::MapChanged, static_cast<std::int16_t>(changedFlag));
    }

    void ringOrder_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("4x3") << 4 << 3 << QList<int>{0, 1, 2, 3, 11, 10, 9, 8, 4, 3, 8, 7};
        QTest::newRow("3x4") << 3 << 4 << QList<int>{0, 1, 2, 11, 10, 9, 3, 2, 6, 5, 9, 8};
        QTest::newRow("2x1") << 2 << 1 << QList<int>{0, 1, 1, 0};
    }
    void ringOrder()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<int>, order);
        SetUpMap(width, height);
        lockBox->SetValue(1);
        QList<int> visited;
        const auto& log = cells->Log();
        QCOMPARE(log.size(), std::size_t(2 * order.size()));
        for (std::size_t i = 0; i < log.size(); i += 2) {
            QCOMPARE(log[i].op, RecordingCells::Op::Color);
            QCOMPARE(log[i + 1].op, RecordingCells::Op::FillStyle);
            QCOMPARE(log[i + 1].index, log[i].index);
            visited << log[i].index;
        }
        QCOMPARE(visited, order);
    }

    void doesNothing_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lockValue");
        QTest::newRow("undetermined value 2") << 10 << 10 << 2;
        QTest::newRow("no map") << 0 << 0 << 1;
        QTest::newRow("no rows") << 10 << 0 << 1;
        QTest::newRow("negative sizes") << -3 << -4 << 1;
        QTest::newRow("more sectors than the grid holds") << 60 << 60 << 1;
    }
    void doesNothing()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, lockValue);
        SetUpMap(width, height);
        lockBox->Preset(lockValue);
        MapModule::ApplySectorLock();
        QVERIFY(cells->Log().empty());
        for (int s = 0; s < OwnerGridArray::Capacity; ++s)
            QCOMPARE(MapModule::OwnerGrid.At(s), InitialOwner(s));
    }

    void withoutCellsTheGridIsStillLocked()
    {
        SetUpMap(4, 4);
        MapModule::Ports().cells = nullptr;
        lockBox->SetValue(1);
        for (int s = 0; s < 16; ++s)
            QCOMPARE(MapModule::OwnerGrid.At(s), OnRing(s, 4, 4) ? 0 : InitialOwner(s));
        QVERIFY(cells->Log().empty());
    }
};

QTEST_GUILESS_MAIN(TestSectorLock)
#include "tst_document_sectorlock.moc"
