#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "support/MapFileFixture.h"
#include "support/MapFileText.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedRow.h"

#include <QtTest>

#include <atomic>
#include <sys/stat.h>
#include <thread>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Files the map loader must refuse or survive. Whatever the bytes or the path,
// a refused file shows its message and leaves the open map as it was.

using namespace MapFileText;

namespace {

const std::string SizeMessage = "マップサイズが正しくありません・・・ロードを中止します";
const std::string TooLargeMessage = "ファイルが大きすぎます・・・ロードを中止します";
const qint64 Limit = qint64(MapModule::MapFileSizeLimit);
const std::string EarlierFile = "/maps/earlier.kxgf";
const std::string EarlierCaption = "earlier.kxgf";

enum class Target { File, Missing, Unreadable, Directory, Fifo, DeviceFile, JapaneseFolder, Sparse, ProcLink, Growing };
enum class Refusal { Header, Size, TooLarge };

QByteArray Junk(int length, unsigned seed)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes += char(seed >> 16);
    }
    return bytes;
}

}  // namespace

class TestBadInput : public QObject, MapFileFixture {
    Q_OBJECT

    // Appends to a file for as long as a load reads it (at most 16 times the
    // size limit), so that the file keeps growing under the reader; the load
    // starts once the file is past the limit.
    std::thread grower;
    std::atomic<bool> stopGrowing{false};
    // Set by the growing thread once the file is past the limit; a member, as
    // the thread goes on writing after MakeTarget has returned.
    std::atomic<bool> grownPastLimit{false};

    // A changed, locked 12 x 9 map loaded from EarlierFile.
    void OpenEarlierMap()
    {
        lockBox->Preset(1);
        StartMap(12, 9);
        window->SetMapCaption(EarlierCaption);
        window->captions.clear();
        MapModule::CurrentFileName = EarlierFile;
        MapModule::MapChanged = MapModule::True;
    }

    QString MakeTarget(Target target, const QByteArray& bytes)
    {
        switch (target) {
        case Target::Missing:
            return PathOf("map.kxgf");
        case Target::File:
        case Target::Unreadable: {
            const QString path = PathOf("map.kxgf");
            if (!TestFiles::Write(path, bytes))
                return {};
#ifdef Q_OS_UNIX
            if (target == Target::Unreadable && ::chmod(Std(path).c_str(), 0200) != 0)
                return {};
#endif
            return path;
        }
        case Target::Directory:
            return QDir(dir->path()).mkdir("map.kxgf") ? PathOf("map.kxgf") : QString();
        case Target::Fifo: {
            const QString path = PathOf("pipe.kxgf");
#ifdef Q_OS_UNIX
            return ::mkfifo(Std(path).c_str(), 0600) == 0 ? path : QString();
#else
            return {};
#endif
        }
        case Target::DeviceFile:
#ifdef Q_OS_WIN
            return QStringLiteral("NUL");
#else
            return QStringLiteral("/dev/zero");
#endif
        case Target::Sparse: {
            // The header, then a hole up to 3 GiB: nothing but the size is on disk.
            const QString path = PathOf("huge.kxgf");
            return TestFiles::Write(path, bytes) && QFile::resize(path, 3LL << 30) ? path : QString();
        }
        case Target::ProcLink: {
            // A "regular" file of size 0 whose reading does not end.
            const QString path = PathOf("pagemap.kxgf");
            return QFile::link("/proc/self/pagemap", path) ? path : QString();
        }
        case Target::Growing: {
            const QString path = PathOf("growing.kxgf");
            if (!TestFiles::Write(path, bytes))
                return {};
            grownPastLimit = false;
            grower = std::thread([this, path] {
                QFile out(path);
                if (!out.open(QIODevice::Append))
                    return;
                const QByteArray chunk = QByteArray("1\r\n").repeated(16 * 1024);
                for (qint64 written = 0; !stopGrowing && written < 16 * Limit; written += chunk.size()) {
                    out.write(chunk);
                    out.flush();
                    grownPastLimit = grownPastLimit || written > Limit;
                }
                grownPastLimit = true;
            });
            while (!grownPastLimit)
                std::this_thread::yield();
            return path;
        }
        case Target::JapaneseFolder: {
            const QString folder = PathOf("地図フォルダ");
            const QString path = folder + "/壊れた地図.kxgf";
            return QDir().mkpath(folder) && TestFiles::Write(path, bytes) ? path : QString();
        }
        }
        return {};
    }

private slots:
    void init() { QVERIFY(Start()); }
    void cleanup()
    {
        stopGrowing = true;
        if (grower.joinable())
            grower.join();
        stopGrowing = false;
        Remove();
    }

    void refusedKeepsTheOpenMap_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("refusal");
        const int file = int(Target::File);
        const int header = int(Refusal::Header);
        const int size = int(Refusal::Size);
        const int tooLarge = int(Refusal::TooLarge);
        const QByteArray body = Lines({"3,2", "0"}) + Owners(6);
        const QByteArray good = Header + body;
        const QByteArray oneSector = Lines({"1,1", "0", "0"});

        QTest::newRow("empty file, one blank line") << file << QByteArray("\r\n") << header;
        QTest::newRow("empty file") << file << QByteArray() << header;
        QTest::newRow("missing file") << int(Target::Missing) << QByteArray() << header;
        QTest::newRow("directory") << int(Target::Directory) << QByteArray() << header;
        QTest::newRow("no header") << file << Lines({"10,10", "0"}) << header;
        QTest::newRow("header only") << file << Header << size;
        QTest::newRow("header only, no line end") << file << Header.chopped(2) << size;
        QTest::newRow("header only, blank lines after it") << file << File({"", "", "  "}) << size;
        QTest::newRow("header and a space") << file << QByteArray(Header.chopped(2) + " \r\n" + oneSector) << header;
        QTest::newRow("space before header") << file << QByteArray(" " + Header + oneSector) << header;
        QTest::newRow("LF line ends") << file << QByteArray(Header + oneSector).replace("\r\n", "\n") << header;
        QTest::newRow("LF line end on the header only")
            << file << QByteArray(Header.chopped(2) + "\n" + body) << header;
        QTest::newRow("header with a BOM") << file << QByteArray("\xEF\xBB\xBF" + good) << header;
        QTest::newRow("lower-case header") << file << QByteArray("kx-gridforge@ver1.00\r\n" + oneSector) << header;
        QTest::newRow("lower-case version part") << file << QByteArray("KX-GRIDFORGE@ver1.00\r\n" + body) << header;
        QTest::newRow("one letter lower case") << file << QByteArray("KX-GRIDFORGe@VER1.00\r\n" + body) << header;
        QTest::newRow("width 0 and lock missing") << file << File({"0,0"}) << size;
        QTest::newRow("lock missing") << file << File({"10,10"}) << size;
        QTest::newRow("lock not a number") << file << File({"10,10", "yes", "0"}) << size;
        QTest::newRow("negative width") << file << File({"-1,10", "0"}) << size;
        QTest::newRow("negative height") << file << File({"10,-1", "0"}) << size;
        QTest::newRow("both negative, product fits") << file << File({"-50,-50", "0"}) << size;
        QTest::newRow("int32 minimum width") << file << File({"-2147483648,1", "0"}) << size;
        QTest::newRow("negative times negative overflow") << file << File({"-2147483648,-2", "0"}) << size;
        QTest::newRow("int32 maximum squared") << file << File({"2147483647,2147483647", "0"}) << size;
        QTest::newRow("product overflows 32 bits") << file << File({"65536,65536", "0"}) << size;
        QTest::newRow("width past int32") << file << File({"4294967306,1", "0"}) << size;
        QTest::newRow("height too large for int32") << file << File({"10,99999999999", "0"}) << size;
        QTest::newRow("product 2502 in one row") << file << File({"2502,1", "0"}) << size;
        QTest::newRow("product 2502 in one column") << file << File({"1,2502", "0"}) << size;
        QTest::newRow("product 2550") << file << File({"51,50", "0"}) << size;
        QTest::newRow("product 2750") << file << QByteArray(File({"55,50", "0"}) + Owners(2750)) << size;
        QTest::newRow("width not a number") << file << File({"ten,10", "0", "0"}) << size;
        QTest::newRow("height not a number") << file << File({"10,ten", "0"}) << size;
        QTest::newRow("plus sign") << file << File({"+10,10", "0"}) << size;
        QTest::newRow("decimal point") << file << File({"10.0,10", "0"}) << size;
        QTest::newRow("exponent") << file << File({"1e1,10", "0"}) << size;
        QTest::newRow("full-width digits") << file << File({"１０,10", "0"}) << size;
        QTest::newRow("empty width") << file << File({",10", "0"}) << size;
        QTest::newRow("tab before the width") << file << File({"\t10,10", "0"}) << size;
        QTest::newRow("binary junk") << file << Junk(512, 7u) << header;
        QTest::newRow("NUL bytes") << file << QByteArray(64, '\0') << header;
        QTest::newRow("NUL inside the header")
            << file << QByteArray(Header.left(12) + '\0' + Header.mid(12) + Lines({"1,1", "0"})) << header;
        QTest::newRow("header then junk") << file << QByteArray(Header + Junk(256, 11u)) << size;
        QTest::newRow("header in UTF-16") << file
            << QByteArray(reinterpret_cast<const char*>(u"KX-GRIDFORGE@VER1.00\r\n3,2\r\n"), 54) << header;
        QTest::newRow("no read permission") << int(Target::Unreadable) << good << header;
        QTest::newRow("named pipe") << int(Target::Fifo) << QByteArray() << header;
        QTest::newRow("device file") << int(Target::DeviceFile) << QByteArray() << header;
        QTest::newRow("one byte past the size limit")
            << file << QByteArray(good + QByteArray(int(Limit) + 1 - good.size(), ' ')) << tooLarge;
        QTest::newRow("3 GiB sparse file") << int(Target::Sparse) << good << tooLarge;
        QTest::newRow("link to /proc/self/pagemap") << int(Target::ProcLink) << QByteArray() << tooLarge;
        QTest::newRow("file growing while it is read") << int(Target::Growing) << good << tooLarge;
        QTest::newRow("bad file in a Japanese folder") << int(Target::JapaneseFolder) << QByteArray("地図\r\n")
                                                       << header;
    }
    void refusedKeepsTheOpenMap()
    {
        QFETCH(int, target);
        QFETCH(QByteArray, bytes);
        QFETCH(int, refusal);
#ifndef Q_OS_UNIX
        if (target == int(Target::Unreadable))
            QSKIP("Windows has no permission to write a file but not read it");
        if (target == int(Target::Fifo) || target == int(Target::ProcLink))
            QSKIP("no named pipes in the file system and no /proc on Windows");
#endif
        if (target == int(Target::Unreadable) && UnprivilegedRow::NeedsOtherUser()) {
            const UnprivilegedRow run = UnprivilegedRow::RunAsNobody();
            QVERIFY2(run.passed, qPrintable(run.output));
            return;
        }
        const QString path = MakeTarget(Target(target), bytes);
        QVERIFY(!path.isEmpty());
        OpenEarlierMap();
        const QList<int> grid = Grid();
        RecordingCells* cells = window->Cells();

        QVERIFY(!MapModule::LoadMapFile(Std(path)));

        const std::string texts[] = {HeaderMessage, SizeMessage, TooLargeMessage};
        VerifyMessage(texts[refusal]);
        QCOMPARE(MapModule::MapWidth, 12);
        QCOMPARE(MapModule::MapHeight, 9);
        QCOMPARE(Grid(), grid);
        QCOMPARE(lockBox->Value(), 1);
        QCOMPARE(lockBox->handlerRuns, 0);
        QCOMPARE(window->closeCalls, 0);
        QCOMPARE(window->openCalls, 0);
        QCOMPARE(window->Cells(), cells);
        QVERIFY(cells->Log().empty());
        QVERIFY(window->captions.empty());
        QCOMPARE(window->Caption(), EarlierCaption);
        QCOMPARE(MapModule::CurrentFileName, EarlierFile);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
    }

    // A size of 0 passes the loader; the map window's build then refuses it
    // and no cell is made.
    void sizeZeroReachesTheWindow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("width 0") << QByteArray(File({"0,10", "0"}) + Owners(10)) << 0 << 10;
        QTest::newRow("height 0") << QByteArray(File({"10,0", "1"}) + Owners(10)) << 10 << 0;
        QTest::newRow("0 with 2501 values behind it") << QByteArray(File({"0,50", "0"}) + Owners(2600)) << 0 << 50;
    }
    void sizeZeroReachesTheWindow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, width);
        QFETCH(int, height);
        const QString path = MakeTarget(Target::File, bytes);
        QVERIFY(!path.isEmpty());
        OpenEarlierMap();

        QVERIFY(MapModule::LoadMapFile(Std(path)));

        QCOMPARE(messages->Count(), 0);
        QCOMPARE(MapModule::MapWidth, width);
        QCOMPARE(MapModule::MapHeight, height);
        QCOMPARE(MapModule::SectorCount(), std::int64_t(0));
        QCOMPARE(window->closeCalls, 1);
        QCOMPARE(window->openCalls, 1);
        QVERIFY(window->Cells() == nullptr);
        QVERIFY(MapModule::Ports().cells == nullptr);
    }

    // Extra values are dropped: the grid keeps 2501 of them and nothing else
    // of the document moves.
    void valuesBeyondTheGrid_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("values");
        QTest::newRow("10x10 with 2502 values") << 10 << 10 << 2502;
        QTest::newRow("50x50 with 10000 values") << 50 << 50 << 10000;
        QTest::newRow("2501x1 with 2600 values") << 2501 << 1 << 2600;
    }
    void valuesBeyondTheGrid()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, values);
        const QByteArray size = QByteArray::number(width) + "," + QByteArray::number(height);
        const QString path = MakeTarget(Target::File, File({size, "0"}) + Owners(values, 2));
        QVERIFY(!path.isEmpty());
        OpenEarlierMap();
        lockBox->Preset(0);
        MapModule::CurrentOwner = 4;

        QVERIFY(MapModule::LoadMapFile(Std(path)));

        QCOMPARE(messages->Count(), 0);
        QCOMPARE(MapModule::MapWidth, width);
        QCOMPARE(MapModule::MapHeight, height);
        QCOMPARE(MapModule::CurrentOwner, 4);
        QCOMPARE(lockBox->Value(), 0);
        for (int s = 0; s < OwnerGridArray::Capacity; ++s)
            QCOMPARE(MapModule::OwnerGrid.At(s), (2 + s) % 7);
        QCOMPARE(window->Cells()->CellCount(), width * height);
        QCOMPARE(window->Cells()->OutOfRangeCalls(), 0);
    }

    void japanesePath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("Japanese folder and file") << "地図フォルダ" << "東の大陸.kxgf";
        QTest::newRow("nested folders with a space") << "マップ/第 2 章" << "ステージ１.kxgf";
        QTest::newRow("half-width kana") << "ﾁｽﾞ" << "ﾏｯﾌﾟ.kxgf";
    }
    void japanesePath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(PathOf(folder)));
        const QString path = PathOf(folder) + "/" + name;
        const QByteArray bytes = File({"4,3", "0"}) + Owners(12, 5);
        QVERIFY(TestFiles::Write(path, bytes));
        OpenEarlierMap();
        lockBox->Preset(0);

        QVERIFY(MapModule::LoadMapFile(Std(path)));

        QCOMPARE(messages->Count(), 0);
        QCOMPARE(MapModule::MapWidth, 4);
        QCOMPARE(MapModule::MapHeight, 3);
        for (int s = 0; s < 12; ++s) {
            QCOMPARE(MapModule::OwnerGrid.At(s), (5 + s) % 7);
            QCOMPARE(window->Cells()->At(s).color, OwnerTable[(5 + s) % 7].cellColor);
        }
        QCOMPARE(MapModule::CurrentFileName, Std(path));
        QCOMPARE(window->Caption(), Std(name));

        // And it is written back to the same Japanese path, byte for byte.
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        QCOMPARE(TestFiles::Read(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_document_badinput.moc"
