#include "document/MapModule.h"
#include "document/NewMapCommand.h"

#include <QtTest>

namespace {

// A map window that refuses to close when told to, and notes the sizes the
// document had when it was asked to close and to build.
class FakeMapWindow : public MapWindowPort {
public:
    bool refuseClose = false;
    int closeCalls = 0;
    int openCalls = 0;
    int openedWidth = -1;
    int openedHeight = -1;
    bool open = true;

    bool CloseMapWindow() override
    {
        ++closeCalls;
        if (refuseClose)
            return false;
        open = false;
        return true;
    }
    bool OpenMapWindow() override
    {
        ++openCalls;
        openedWidth = MapModule::MapWidth;
        openedHeight = MapModule::MapHeight;
        open = true;
        return true;
    }
    void SetMapCaption(const std::string&) override {}
};

void PaintOldMap()
{
    MapModule::MapWidth = 30;
    MapModule::MapHeight = 40;
    for (int i = 0; i < OwnerGridArray::Capacity; ++i)
        MapModule::OwnerGrid.Set(i, 1 + i % 6);
    MapModule::MapChanged = MapModule::True;
}

int CountNonZero()
{
    int count = 0;
    for (int i = 0; i < OwnerGridArray::Capacity; ++i)
        count += MapModule::OwnerGrid.At(i) != 0 ? 1 : 0;
    return count;
}

}  // namespace

class TestNewMap : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MapModule::ResetDocument();
        PaintOldMap();
    }
    void cleanup() { MapModule::ResetDocument(); }

    void startNewMap_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("withWindow");
        QTest::addColumn<bool>("refuseClose");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("expectedCloseCalls");

        QTest::newRow("accepted 20x20") << 20 << 20 << true << false << true << 1;
        QTest::newRow("accepted width and height kept apart") << 37 << 12 << true << false << true << 1;
        QTest::newRow("smallest 10x10") << 10 << 10 << true << false << true << 1;
        QTest::newRow("largest 50x50") << 50 << 50 << true << false << true << 1;
        QTest::newRow("no map window port") << 25 << 15 << false << false << true << 0;
        QTest::newRow("close refused") << 20 << 20 << true << true << false << 1;
        QTest::newRow("close refused, new size equal to a neighbour") << 40 << 30 << true << true << false << 1;
        QTest::newRow("width below range") << 9 << 20 << true << false << false << 0;
        QTest::newRow("height above range") << 20 << 51 << true << false << false << 0;
        QTest::newRow("negative") << -20 << 20 << true << false << false << 0;
    }
    void startNewMap()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, withWindow);
        QFETCH(bool, refuseClose);
        QFETCH(bool, started);
        QFETCH(int, expectedCloseCalls);

        FakeMapWindow window;
        window.refuseClose = refuseClose;
        if (withWindow)
            MapModule::Ports().mapWindow = &window;
        const int paintedBefore = CountNonZero();
        QVERIFY(paintedBefore > 2400);

        QCOMPARE(MapModule::StartNewMap(width, height), started);
        QCOMPARE(window.closeCalls, expectedCloseCalls);

        if (started) {
            QCOMPARE(MapModule::MapWidth, width);
            QCOMPARE(MapModule::MapHeight, height);
            QCOMPARE(CountNonZero(), 0);
            QCOMPARE(MapModule::OwnerGrid.At(2500), 0);
            if (withWindow) {
                QCOMPARE(window.openCalls, 1);
                QCOMPARE(window.openedWidth, width);
                QCOMPARE(window.openedHeight, height);
                QCOMPARE(MapModule::MapChanged, MapModule::False);
            }
        } else {
            QCOMPARE(MapModule::MapWidth, 30);
            QCOMPARE(MapModule::MapHeight, 40);
            QCOMPARE(CountNonZero(), paintedBefore);
            QCOMPARE(MapModule::OwnerGrid.At(2500), 1 + 2500 % 6);
            QCOMPARE(window.openCalls, 0);
            QVERIFY(window.open);
            QCOMPARE(MapModule::MapChanged, MapModule::True);
        }
    }
};

QTEST_GUILESS_MAIN(TestNewMap)
#include "tst_document_newmap.moc"
