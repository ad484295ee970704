#include "document/MapModule.h"
#include "document/OwnerTable.h"

#include <QtTest>

class TestMapModule : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }

    void startUpState()
    {
        MapModule::MapWidth = 12;
        MapModule::OwnerGrid.Set(7, 3);
        MapModule::MapChanged = MapModule::True;
        MapModule::CurrentOwner = 5;
        MapModule::CurrentFileName = "x.kxgf";
        MapModule::MapTiedToCurrentFile = true;
        MapModule::ResetDocument();
        QCOMPARE(MapModule::MapWidth, 0);
        QCOMPARE(MapModule::MapHeight, 0);
        QCOMPARE(MapModule::OwnerGrid.At(7), 0);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QCOMPARE(MapModule::CurrentOwner, 0);
        QVERIFY(MapModule::CurrentFileName.empty());
        QVERIFY(!MapModule::MapTiedToCurrentFile);
    }

    void gridAccessIsChecked_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<bool>("inRange");
        QTest::newRow("first") << qint64(0) << true;
        QTest::newRow("last of a 50x50 map") << qint64(2499) << true;
        QTest::newRow("spare entry 2500") << qint64(2500) << true;
        QTest::newRow("past the end") << qint64(2501) << false;
        QTest::newRow("negative") << qint64(-1) << false;
        QTest::newRow("huge") << (qint64(1) << 40) << false;
    }
    void gridAccessIsChecked()
    {
        QFETCH(qint64, index);
        QFETCH(bool, inRange);
        QCOMPARE(MapModule::OwnerGrid.Set(index, 6), inRange);
        QCOMPARE(MapModule::OwnerGrid.Get(index).has_value(), inRange);
        if (inRange)
            QCOMPARE(*MapModule::OwnerGrid.Get(index), 6);
    }

    void sectorCountDoesNotOverflow()
    {
        MapModule::MapWidth = 2000000000;
        MapModule::MapHeight = 2000000000;
        QCOMPARE(MapModule::SectorCount(), qint64(4000000000000000000));
    }

    void ownerTableColourWords_data()
    {
        QTest::addColumn<int>("owner");
        QTest::addColumn<uint>("cellWord");
        QTest::addColumn<uint>("legendWord");
        QTest::newRow("0 target") << 0 << 0x4080FFu << 0xC0E0FFu;
        QTest::newRow("1") << 1 << 0xFF0000u << 0xFF0000u;
        QTest::newRow("2") << 2 << 0x00FF00u << 0x00FF00u;
        QTest::newRow("3") << 3 << 0xFFFFFFu << 0xFFFFFFu;
        QTest::newRow("4") << 4 << 0x00FFFFu << 0x00FFFFu;
        QTest::newRow("5") << 5 << 0x969696u << 0x969696u;
        QTest::newRow("6") << 6 << 0x0000FFu << 0x0000FFu;
    }
    void ownerTableColourWords()
    {
        QFETCH(int, owner);
        QFETCH(uint, cellWord);
        QFETCH(uint, legendWord);
        QCOMPARE(OwnerTable[owner].cellColor.value, cellWord);
        QCOMPARE(OwnerTable[owner].legendColor.value, legendWord);
    }

    void ownerThreeTextIsButtonFace()
    {
        QVERIFY(OwnerTable[3].textColor.IsSystem());
        QCOMPARE(OwnerTable[3].textColor.value, 0x8000000Fu);
    }
};

QTEST_GUILESS_MAIN(TestMapModule)
#include "tst_document_mapmodule.moc"
