#include "document/MapFile.h"
#include "document/MapFileReader.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "support/MapFileFixture.h"
#include "support/MapFileText.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <random>

// Map files read and loaded: the numbers, the values a load puts in the grid,
// the cells and the lock box, the order of its calls, and the caption.

using namespace MapFileText;

class TestMapLoad : public QObject, MapFileFixture {
    Q_OBJECT

    // Every cell shows its grid owner's colour (values outside 0..6 are skipped).
    void VerifyCellsMatchGrid()
    {
        RecordingCells* cells = window->Cells();
        QVERIFY(cells != nullptr);
        QCOMPARE(cells->OutOfRangeCalls(), 0);
        for (int s = 0; s < cells->CellCount(); ++s) {
            const int owner = MapModule::OwnerGrid.At(s);
            if (IsOwner(owner))
                QCOMPARE(cells->At(s).color, OwnerTable[owner].cellColor);
        }
    }

private slots:
    void init() { QVERIFY(Start()); }
    void cleanup() { Remove(); }

    void parseInteger_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << QByteArray("0") << true << 0;
        QTest::newRow("minus zero") << QByteArray("-0") << true << 0;
        QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
        QTest::newRow("int32 max") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("int32 min") << QByteArray("-2147483648") << true << int(-2147483647 - 1);
        QTest::newRow("one past max") << QByteArray("2147483648") << false << 0;
        QTest::newRow("one past min") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("twenty digits") << QByteArray("99999999999999999999") << false << 0;
        QTest::newRow("plus sign") << QByteArray("+1") << false << 0;
        QTest::newRow("minus alone") << QByteArray("-") << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("trailing letter") << QByteArray("1a") << false << 0;
        QTest::newRow("tab") << QByteArray("1\t") << false << 0;
        QTest::newRow("double minus") << QByteArray("--1") << false << 0;
    }
    void parseInteger()
    {
        QFETCH(QByteArray, token);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto parsed = MapFileReader::ParseInteger(std::string_view(token.constData(), token.size()));
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void saveAndLoadBack_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lock");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("10x10") << 10 << 10 << 0 << 103 << File({"10,10", "0", "3", "1", "6"});
        QTest::newRow("no map") << 0 << 0 << 0 << 3 << File({"0,0", "0"});
        QTest::newRow("undetermined lock written as 2") << 3 << 2 << 2 << 9
                                                       << File({"3,2", "2", "3", "1", "6", "4", "2", "0"});
        QTest::newRow("50x50 locked") << 50 << 50 << 1 << 2503 << File({"50,50", "1", "0", "0"});
    }
    void saveAndLoadBack()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, lock);
        QFETCH(int, lines);
        QFETCH(QByteArray, start);
        StartMap(width, height);
        lockBox->SetValue(lock);
        MapModule::MapChanged = MapModule::True;
        const QList<int> grid = Grid();
        const QString path = PathOf("round.kxgf");

        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const QByteArray bytes = TestFiles::Read(path);
        QVERIFY(bytes.startsWith(start));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), lines);
        QCOMPARE(bytes.count('\n'), lines);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QCOMPARE(MapModule::CurrentFileName, Std(path));
        QCOMPARE(window->Caption(), Std(path));
        QCOMPARE(messages->Count(), 0);

        MapModule::ResetDocument();
        InstallPorts();
        lockBox->Preset(0);
        QVERIFY(MapModule::LoadMapFile(Std(path)));
        QCOMPARE(MapModule::MapWidth, width);
        QCOMPARE(MapModule::MapHeight, height);
        QCOMPARE(lockBox->Value(), lock);
        const int count = width * height;
        QCOMPARE(Grid().mid(0, count), grid.mid(0, count));
        QCOMPARE(Grid().mid(count), QList<int>(OwnerGridArray::Capacity - count, 0));
        QCOMPARE(messages->Count(), 0);
        if (count > 0)
            VerifyCellsMatchGrid();

        QVERIFY(MapModule::SaveMapFile(Std(path)));
        QCOMPARE(TestFiles::Read(path), bytes);
    }

    void loadedValues_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lock");
        QTest::addColumn<QList<int>>("owners");
        QTest::newRow("one per line") << QByteArray("3,2\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n") << 3 << 2 << 0
                                      << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("commas") << QByteArray("3,2,0,1,2,3,4,5,6") << 3 << 2 << 0 << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("spaces and mixed breaks") << QByteArray("3 2  0\r\n1 2\n3\r4,5 ,6\r\n") << 3 << 2 << 0
                                                 << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("sizes on separate lines") << QByteArray("2\r\n2\r\n0\r\n6\r\n5\r\n") << 2 << 2 << 0
                                                 << QList<int>{6, 5};
        QTest::newRow("short file leaves owner 0") << QByteArray("3,2\r\n0\r\n4\r\n") << 3 << 2 << 0 << QList<int>{4};
        QTest::newRow("non-integers skipped") << QByteArray("3,2\r\n0\r\n1\r\nx\r\n2\r\n2.5\r\n\t3\r\n3\r\n") << 3 << 2
                                              << 0 << QList<int>{1, 2, 3};
        QTest::newRow("empty value between commas skipped") << QByteArray("3,2\r\n0\r\n1,,2\r\n") << 3 << 2 << 0
                                                            << QList<int>{1, 2};
        QTest::newRow("values outside the owners kept") << QByteArray("2,1\r\n0\r\n-3\r\n900\r\n") << 2 << 1 << 0
                                                        << QList<int>{-3, 900};
        QTest::newRow("size 0 accepted") << QByteArray("0,0\r\n0\r\n5\r\n") << 0 << 0 << 0 << QList<int>{5};
        QTest::newRow("lock value 2") << QByteArray("2,1\r\n2\r\n1\r\n1\r\n") << 2 << 1 << 2 << QList<int>{1, 1};
        QTest::newRow("lock value 7 keeps the box") << QByteArray("2,1\r\n7\r\n1\r\n1\r\n") << 2 << 1 << 0
                                                    << QList<int>{1, 1};
        QTest::newRow("no final line break") << QByteArray("2,1\r\n0\r\n3\r\n4") << 2 << 1 << 0 << QList<int>{3, 4};
        const QByteArray body = "2,1\r\n0\r\n3\r\n4\r\n";
        const int blanks = int(MapModule::MapFileSizeLimit) - Header.size() - body.size();
        QTest::newRow("blank space up to the size limit") << QByteArray(body + QByteArray(blanks, ' ')) << 2 << 1 << 0
                                                          << QList<int>{3, 4};
    }
    void loadedValues()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, lock);
        QFETCH(QList<int>, owners);
        const QString path = PathOf("values.kxgf");
        QVERIFY(TestFiles::Write(path, Header + body));
        StartMap();

        QVERIFY(MapModule::LoadMapFile(Std(path)));
        QCOMPARE(MapModule::MapWidth, width);
        QCOMPARE(MapModule::MapHeight, height);
        QCOMPARE(lockBox->Value(), lock);
        QList<int> expected = owners;
        expected.resize(OwnerGridArray::Capacity, 0);
        QCOMPARE(Grid(), expected);
        QCOMPARE(messages->Count(), 0);
        QCOMPARE(window->closeCalls, 1);
        QCOMPARE(window->openCalls, 1);
        if (width * height > 0) {
            VerifyCellsMatchGrid();
            for (int s = 0; s < width * height; ++s) {
                if (!IsOwner(expected[s]))  // keeps the colour the new window gave it
                    QCOMPARE(window->Cells()->At(s).color, OwnerTable[0].cellColor);
            }
        } else {
            QVERIFY(window->Cells() == nullptr);
        }
    }

    void moreValuesThanTheGridHolds()
    {
        const QByteArray bytes = File({"50,50", "0"}) + Owners(2600);
        const QString path = PathOf("long.kxgf");
        QVERIFY(TestFiles::Write(path, bytes));
        const MapFileReader::Result result = MapFileReader::Read(bytes.toStdString());
        QCOMPARE(result.owners.size(), std::size_t(2501));
        QCOMPARE(result.owners.back(), 2500 % 7);

        StartMap();
        QVERIFY(MapModule::LoadMapFile(Std(path)));
        QCOMPARE(MapModule::OwnerGrid.At(2499), 2499 % 7);
        QCOMPARE(MapModule::OwnerGrid.At(2500), 2500 % 7);
        VerifyCellsMatchGrid();
    }

    void lockFromFileIsApplied_data()
    {
        QTest::addColumn<int>("lock");
        QTest::addColumn<int>("boxBefore");
        QTest::newRow("lock on, box was off") << 1 << 0;
        QTest::newRow("lock on, box was on") << 1 << 1;
        QTest::newRow("lock off, box was on") << 0 << 1;
        QTest::newRow("undetermined") << 2 << 0;
    }
    void lockFromFileIsApplied()
    {
        QFETCH(int, lock);
        QFETCH(int, boxBefore);
        const QString path = PathOf("locked.kxgf");
        QVERIFY(TestFiles::Write(path, Map(4, 4, lock, [](int) { return 5; })));
        StartMap();
        lockBox->Preset(boxBefore);

        QVERIFY(MapModule::LoadMapFile(Std(path)));
        QCOMPARE(lockBox->Value(), lock);
        QCOMPARE(lockBox->handlerRuns, lock == boxBefore ? 0 : 1);
        RecordingCells* cells = window->Cells();
        for (int s = 0; s < 16; ++s) {
            const bool ring = s % 4 == 0 || s % 4 == 3 || s / 4 == 0 || s / 4 == 3;
            const bool locked = ring && lock == 1;
            QCOMPARE(MapModule::OwnerGrid.At(s), locked ? 0 : 5);
            QCOMPARE(cells->At(s).fillStyle, locked ? CellPort::FillLocked : CellPort::FillSolid);
        }
        VerifyCellsMatchGrid();
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    void loadCallsInOrder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("boxBefore");
        QTest::addColumn<bool>("refuseClose");
        QTest::addColumn<QStringList>("calls");
        const QByteArray locked = File({"3,3", "1", "1", "2"});
        const QString caption = "caption order.kxgf";
        QTest::newRow("refused close changes nothing") << locked << 0 << true << QStringList{"close refused"};
        QTest::newRow("the lock box runs the lock while no window is open")
            << locked << 0 << false << QStringList{"close", "lock box 1", "open", "cells", caption};
        QTest::newRow("the same lock runs nothing through the box")
            << locked << 1 << false << QStringList{"close", "lock box 1 kept", "open", "cells", caption};
        QTest::newRow("a failed build leaves no cells to colour")
            << File({"0,3", "1"}) << 0 << false
            << QStringList{"close", "lock box 1", "open failed", caption};
        QTest::newRow("a bad header calls nothing") << QByteArray("junk\r\n") << 0 << false << QStringList{};
    }
    void loadCallsInOrder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, boxBefore);
        QFETCH(bool, refuseClose);
        QFETCH(QStringList, calls);
        const QString path = PathOf("order.kxgf");
        QVERIFY(TestFiles::Write(path, bytes));
        StartMap();
        lockBox->Preset(boxBefore);
        window->refuseClose = refuseClose;
        std::vector<std::string> log;
        window->log = &log;
        lockBox->log = &log;
        window->Cells()->log = &log;

        MapModule::LoadMapFile(Std(path));

        QStringList seen;
        for (const std::string& call : log)
            seen << QString::fromStdString(call);
        QCOMPARE(seen, calls);
    }

    void captionAfterLoadAndSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("plain name") << "test.kxgf" << "test.kxgf";
        QTest::newRow("Japanese name") << "地図テスト.kxgf" << "地図テスト.kxgf";
        QTest::newRow("backslash inside the name") << "a\\b.kxgf" << "b.kxgf";
        // A full Windows path there, a name with backslashes elsewhere.
        QTest::newRow("Windows path") << "C:\\maps\\test.kxgf" << "test.kxgf";
    }
    void captionAfterLoadAndSave()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        const QString path = QDir::isAbsolutePath(name) ? name : PathOf(name);
        const QString folder = QFileInfo(path).absolutePath();
        const bool newFolder = !QFileInfo::exists(folder);
        QVERIFY(QDir().mkpath(folder));
        const auto removeFolder = qScopeGuard([&] {
            if (newFolder)
                QDir(folder).removeRecursively();
        });
        StartMap();
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        QCOMPARE(window->Caption(), Std(path));
        QVERIFY(QFileInfo::exists(path));

        QVERIFY(MapModule::LoadMapFile(Std(path)));
        QCOMPARE(window->Caption(), Std(caption));
        QCOMPARE(MapModule::CurrentFileName, Std(path));
    }

    void loadWithoutSeparatorKeepsCaption()
    {
        StartMap();
        QVERIFY(MapModule::SaveMapFile(Std(PathOf("here.kxgf"))));
        window->captions.clear();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->path()));
        const bool loaded = MapModule::LoadMapFile("here.kxgf");
        QDir::setCurrent(previous);
        QVERIFY(loaded);
        QVERIFY(window->captions.empty());
        QCOMPARE(window->Caption(), std::string("Gridforge First Release Edition"));
        QCOMPARE(MapModule::CurrentFileName, std::string("here.kxgf"));
    }

    void refusedCloseRestoresTheMap_data()
    {
        QTest::addColumn<int>("boxBefore");
        QTest::addColumn<int>("fileLock");
        QTest::newRow("lock off, file locked") << 0 << 1;
        QTest::newRow("lock on, file unlocked") << 1 << 0;
        QTest::newRow("same lock") << 0 << 0;
    }
    void refusedCloseRestoresTheMap()
    {
        QFETCH(int, boxBefore);
        QFETCH(int, fileLock);
        const QString path = PathOf("other.kxgf");
        QVERIFY(TestFiles::Write(path, File({"3,3", QByteArray::number(fileLock), "1", "1", "1"})));
        StartMap();
        lockBox->SetValue(boxBefore);
        MapModule::MapChanged = MapModule::True;
        const QList<int> grid = Grid();
        window->refuseClose = true;

        QVERIFY(!MapModule::LoadMapFile(Std(path)));

        QCOMPARE(MapModule::MapWidth, 10);
        QCOMPARE(MapModule::MapHeight, 10);
        QCOMPARE(Grid(), grid);
        QCOMPARE(lockBox->Value(), boxBefore);
        QCOMPARE(window->openCalls, 0);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QVERIFY(MapModule::CurrentFileName.empty());
        VerifyCellsMatchGrid();
        for (int s = 0; s < 100; ++s) {
            const bool ring = s % 10 == 0 || s % 10 == 9 || s / 10 == 0 || s / 10 == 9;
            QCOMPARE(window->Cells()->At(s).fillStyle,
                     ring && boxBefore == 1 ? CellPort::FillLocked : CellPort::FillSolid);
        }
    }

    void randomFilesNeverBreakTheLoader()
    {
        std::mt19937 random(20240611u);
        const QByteArray alphabet = "0123456789,- \r\n\r\n,x\t";
        const QByteArray valid = Map(7, 5, 1, [](int s) { return s % 7; });
        const QString path = PathOf("fuzz.kxgf");
        StartMap();
        int loaded = 0;
        for (int i = 0; i < 4000; ++i) {
            QByteArray bytes;
            switch (i % 4) {
            case 0:  // a valid file cut short
                bytes = valid.left(int(random() % (valid.size() + 1)));
                break;
            case 1:  // header, then noise from the file's own characters
                bytes = Header;
                for (int n = int(random() % 200); n > 0; --n)
                    bytes += alphabet[int(random() % alphabet.size())];
                break;
            case 2:  // any bytes
                for (int n = int(random() % 300); n > 0; --n)
                    bytes += char(random() & 0xFF);
                break;
            default:  // a valid file with a few bytes changed
                bytes = valid;
                for (int n = 1 + int(random() % 4); n > 0; --n)
                    bytes[int(random() % bytes.size())] = char(random() & 0xFF);
            }
            const auto result = MapFileReader::Read(std::string_view(bytes.constData(), bytes.size()));
            QVERIFY(result.owners.size() <= MapFileReader::MaxOwnerValues);
            QVERIFY(result.headerOk || !result.width);
            QVERIFY(result.owners.empty() || result.lock);

            if (i % 8 >= 2)
                continue;
            QVERIFY(TestFiles::Write(path, bytes));
            if (MapModule::LoadMapFile(Std(path)))
                ++loaded;
            QVERIFY(MapModule::MapWidth >= 0 && MapModule::MapHeight >= 0);
            QVERIFY(MapModule::SectorCount() <= OwnerGridArray::Capacity);
            if (RecordingCells* cells = window->Cells())
                QCOMPARE(cells->OutOfRangeCalls(), 0);
        }
        QVERIFY(loaded > 0);
    }
};

QTEST_GUILESS_MAIN(TestMapLoad)
#include "tst_document_mapload.moc"
