#include "document/LevelText.h"
#include "document/MapModule.h"

#include <QtTest>

namespace {

void SetMap(int width, int height, const QList<int>& owners)
{
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    for (int i = 0; i < owners.size(); ++i)
        MapModule::OwnerGrid.Set(i, owners[i]);
}

QStringList Lines(const std::string& text) { return QString::fromStdString(text).split("\r\n"); }

}  // namespace

class TestLevelText : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }

    void ownMapSection_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("owners");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("3x2 worked example, entry past the map ignored")
            << 3 << 2 << QList<int>{0, 1, 2, 3, 4, 5, 6} << QByteArray("own_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 ");
        QTest::newRow("no map") << 0 << 0 << QList<int>{} << QByteArray("own_map= \r\n0 0\r\n");
        QTest::newRow("value 7 drops its token only")
            << 3 << 2 << QList<int>{0, 7, 2, 3, 4, 5} << QByteArray("own_map= \r\n3 2\r\n00 02 \r\n03 04 05 ");
        QTest::newRow("negative value drops its token")
            << 2 << 2 << QList<int>{-1, 1, 2, 900} << QByteArray("own_map= \r\n2 2\r\n01 \r\n02 ");
        QTest::newRow("row of owner 6") << 4 << 1 << QList<int>{6, 6, 6, 6} << QByteArray("own_map= \r\n4 1\r\n06 06 06 06 ");
        QTest::newRow("one column") << 1 << 3 << QList<int>{1, 2, 3} << QByteArray("own_map= \r\n1 3\r\n01 \r\n02 \r\n03 ");
        QTest::newRow("negative sizes give no rows")
            << -2 << -3 << QList<int>{1, 1, 1, 1, 1, 1} << QByteArray("own_map= \r\n-2 -3\r\n");
    }
    void ownMapSection()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<int>, owners);
        QFETCH(QByteArray, expected);
        SetMap(width, height, owners);
        QCOMPARE(QByteArray::fromStdString(MapModule::BuildOwnMapText()), expected);
    }

    void zeroSections_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("typ_map") << 0 << QByteArray("typ_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 ");
        QTest::newRow("hgt_map") << 1 << QByteArray("hgt_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 ");
        QTest::newRow("blg_map") << 2 << QByteArray("blg_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 ");
    }
    void zeroSections()
    {
        QFETCH(int, section);
        QFETCH(QByteArray, expected);
        SetMap(3, 2, {0, 1, 2, 7, 4, -5});
        const std::string text = section == 0   ? MapModule::BuildTypMapText()
                                 : section == 1 ? MapModule::BuildHgtMapText()
                                                : MapModule::BuildBlgMapText();
        QCOMPARE(QByteArray::fromStdString(text), expected);
    }

    void combinedWorkedExample()
    {
        SetMap(3, 2, {0, 1, 2, 3, 4, 5});
        const std::string text = MapModule::BuildLevelText();
        QCOMPARE(QByteArray::fromStdString(text),
                 QByteArray("typ_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 \r\n\r\n"
                            "own_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 \r\n\r\n"
                            "hgt_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 \r\n\r\n"
                            "blg_map= \r\n3 2\r\n00 00 00 \r\n00 00 00 "));
        const QStringList lines = Lines(text);
        QCOMPARE(lines.size(), 19);
        for (int emptyLine : {5, 10, 15})
            QVERIFY(lines[emptyLine - 1].isEmpty());
        QVERIFY(text.find(MapModule::BuildOwnMapText()) != std::string::npos);
        QVERIFY(QString::fromStdString(text).count('\n') == QString::fromStdString(text).count('\r'));
    }

    void combinedWithoutMap()
    {
        QCOMPARE(QByteArray::fromStdString(MapModule::BuildLevelText()),
                 QByteArray("typ_map= \r\n0 0\r\n\r\n\r\nown_map= \r\n0 0\r\n\r\n\r\n"
                            "hgt_map= \r\n0 0\r\n\r\n\r\nblg_map= \r\n0 0\r\n"));
    }

    void rowLengths_data()
    {
        QTest::addColumn<int>("badSector");
        QTest::addColumn<int>("ownShortRow");
        QTest::newRow("all owners valid") << -1 << -1;
        QTest::newRow("value 7 in row 4") << 43 << 4;
        QTest::newRow("value 7 in the last row") << 99 << 9;
    }
    void rowLengths()
    {
        QFETCH(int, badSector);
        QFETCH(int, ownShortRow);
        QList<int> owners;
        for (int s = 0; s < 100; ++s)
            owners << s % 7;
        if (badSector >= 0)
            owners[badSector] = 7;
        SetMap(10, 10, owners);

        const QStringList own = Lines(MapModule::BuildOwnMapText());
        const QStringList typ = Lines(MapModule::BuildTypMapText());
        QCOMPARE(own.size(), 12);
        QCOMPARE(typ.size(), 12);
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(typ[row + 2], QString("00 ").repeated(10));
            QCOMPARE(own[row + 2].size(), row == ownShortRow ? 27 : 30);
            QVERIFY(own[row + 2].endsWith(' '));
        }
        QCOMPARE(own[2].left(9), QString("00 01 02 "));
    }

    void largestMapStaysInGrid()
    {
        MapModule::MapWidth = 50;
        MapModule::MapHeight = 50;
        MapModule::OwnerGrid.Set(2499, 6);
        MapModule::OwnerGrid.Set(2500, 5);
        const QStringList own = Lines(MapModule::BuildOwnMapText());
        QCOMPARE(own.size(), 52);
        QVERIFY(own.last().endsWith("00 06 "));
        QCOMPARE(MapModule::BuildLevelText().size(), std::size_t(4 * (11 + 7 + 50 * 150 + 49 * 2) + 3 * 4));
    }
};

QTEST_GUILESS_MAIN(TestLevelText)
#include "tst_document_leveltext.moc"
