#include "document/MapFile.h"
#include "document/MapFileReader.h"
#include "document/MapModule.h"
#include "document/NewMapCommand.h"
#include "document/OwnerTable.h"
#include "support/MapFileFakes.h"
#include "support/UnprivilegedRow.h"

#include <QtTest>

#include <memory>
#include <random>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(MessageAnswer)

namespace {

const std::string HeaderMessage = "ヘッダーが違います・・・ロードを中止します";
const std::string SizeMessage = "マップサイズが正しくありません・・・ロードを中止します";
const std::string SaveFailed = "ファイルを保存できませんでした・・・保存を中止します";
const std::string CloseQuestion = "変更されていますがドキュメントを閉じますか?";
const QByteArray Header = "KX-GRIDFORGE@VER1.00\r\n";

enum class PathKind { File, Missing, Directory };

int StartOwner(int s) { return (s * 5 + 3) % 7; }

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestMapFile : public QObject, MapFileFakes {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString PathOf(const QString& name) const { return dir->filePath(name); }
    static std::string Std(const QString& path) { return path.toStdString(); }

    // A 10x10 map in the window, owners following StartOwner, lock off.
    void StartMap(int width = 10, int height = 10) { ShowMap(width, height, StartOwner); }

    QList<int> Grid() const
    {
        QList<int> grid;
        for (int s = 0; s < OwnerGridArray::Capacity; ++s)
            grid << MapModule::OwnerGrid.At(s);
        return grid;
    }

    void VerifyMessage(const std::string& text)
    {
        QCOMPARE(messages->Count(), 1);
        const auto& call = messages->Calls()[0];
        QCOMPARE(call.text, text);
        QCOMPARE(call.title, std::string("中止"));
        QCOMPARE(call.buttons, MessageButtons::Ok);
        QCOMPARE(call.icon, MessageIcon::Error);
        QCOMPARE(call.defaultButton, MessageAnswer::Ok);
    }

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
    void init()
    {
        Install();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
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
        QTest::newRow("10x10") << 10 << 10 << 0 << 103 << QByteArray(Header + "10,10\r\n0\r\n3\r\n1\r\n6\r\n");
        QTest::newRow("no map") << 0 << 0 << 0 << 3 << QByteArray(Header + "0,0\r\n0\r\n");
        QTest::newRow("undetermined lock written as 2") << 3 << 2 << 2 << 9
                                                       << QByteArray(Header + "3,2\r\n2\r\n3\r\n1\r\n6\r\n4\r\n2\r\n0\r\n");
        QTest::newRow("50x50 locked") << 50 << 50 << 1 << 2503 << QByteArray(Header + "50,50\r\n1\r\n0\r\n0\r\n");
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
        const QByteArray bytes = ReadBytes(path);
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
        QCOMPARE(ReadBytes(path), bytes);
    }

    void rejectedFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString header = QString::fromStdString(HeaderMessage);
        const QString size = QString::fromStdString(SizeMessage);
        const int file = int(PathKind::File);
        QTest::newRow("no header") << file << QByteArray("10,10\r\n0\r\n") << header;
        QTest::newRow("lower-case header") << file << QByteArray("kx-gridforge@ver1.00\r\n1,1\r\n0\r\n0\r\n") << header;
        QTest::newRow("header and a space") << file << QByteArray("KX-GRIDFORGE@VER1.00 \r\n1,1\r\n0\r\n0\r\n") << header;
        QTest::newRow("space before header") << file << QByteArray(" KX-GRIDFORGE@VER1.00\r\n1,1\r\n0\r\n0\r\n") << header;
        QTest::newRow("LF line ends") << file << QByteArray("KX-GRIDFORGE@VER1.00\n1,1\n0\n0\n") << header;
        QTest::newRow("empty file") << file << QByteArray() << header;
        QTest::newRow("missing file") << int(PathKind::Missing) << QByteArray() << header;
        QTest::newRow("directory") << int(PathKind::Directory) << QByteArray() << header;
        QTest::newRow("header only") << file << QByteArray(Header) << size;
        QTest::newRow("negative width") << file << QByteArray(Header + "-1,10\r\n0\r\n") << size;
        QTest::newRow("both negative, product fits") << file << QByteArray(Header + "-50,-50\r\n0\r\n") << size;
        QTest::newRow("product 2550") << file << QByteArray(Header + "51,50\r\n0\r\n") << size;
        QTest::newRow("product overflows 32 bits")
            << file << QByteArray(Header + "65536,65536\r\n0\r\n") << size;
        QTest::newRow("width not a number") << file << QByteArray(Header + "ten,10\r\n0\r\n0\r\n") << size;
        QTest::newRow("height too large for int32") << file << QByteArray(Header + "10,99999999999\r\n0\r\n") << size;
        QTest::newRow("lock missing") << file << QByteArray(Header + "10,10\r\n") << size;
        QTest::newRow("lock not a number") << file << QByteArray(Header + "10,10\r\nyes\r\n0\r\n") << size;
    }
    void rejectedFiles()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QString path = PathOf("map.kxgf");
        if (kind == int(PathKind::File))
            WriteBytes(path, bytes);
        else if (kind == int(PathKind::Directory))
            QVERIFY(QDir(dir->path()).mkdir("map.kxgf"));
        StartMap();
        lockBox->Preset(1);
        MapModule::MapChanged = MapModule::True;
        MapModule::CurrentFileName = "earlier.kxgf";
        const QList<int> grid = Grid();
        RecordingCells* cells = window->Cells();

        QVERIFY(!MapModule::LoadMapFile(Std(path)));

        VerifyMessage(message.toStdString());
        QCOMPARE(MapModule::MapWidth, 10);
        QCOMPARE(MapModule::MapHeight, 10);
        QCOMPARE(Grid(), grid);
        QCOMPARE(lockBox->Value(), 1);
        QCOMPARE(lockBox->handlerRuns, 0);
        QCOMPARE(window->closeCalls, 0);
        QCOMPARE(window->openCalls, 0);
        QVERIFY(window->captions.empty());
        QCOMPARE(window->Cells(), cells);
        QVERIFY(cells->Log().empty());
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QCOMPARE(MapModule::CurrentFileName, std::string("earlier.kxgf"));
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
        WriteBytes(path, Header + body);
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
        QByteArray body = "50,50\r\n0\r\n";
        for (int i = 0; i < 2600; ++i)
            body += QByteArray::number(i % 7) + "\r\n";
        const QString path = PathOf("long.kxgf");
        WriteBytes(path, Header + body);
        const MapFileReader::Result result = MapFileReader::Read((Header + body).toStdString());
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
        QByteArray body = "4,4\r\n" + QByteArray::number(lock) + "\r\n";
        for (int s = 0; s < 16; ++s)
            body += "5\r\n";
        const QString path = PathOf("locked.kxgf");
        WriteBytes(path, Header + body);
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
        const QByteArray locked = Header + "3,3\r\n1\r\n1\r\n2\r\n";
        const QString caption = "caption order.kxgf";
        QTest::newRow("refused close changes nothing") << locked << 0 << true << QStringList{"close refused"};
        QTest::newRow("the lock box runs the lock while no window is open")
            << locked << 0 << false << QStringList{"close", "lock box 1", "open", "cells", caption};
        QTest::newRow("the same lock runs nothing through the box")
            << locked << 1 << false << QStringList{"close", "lock box 1 kept", "open", "cells", caption};
        QTest::newRow("a failed build leaves no cells to colour")
            << QByteArray(Header + "0,3\r\n1\r\n") << 0 << false
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
        WriteBytes(path, bytes);
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

#ifdef Q_OS_UNIX
    void permissionsOfTheFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("mode");
        QTest::newRow("existing 0640 kept") << true << 0640;
        QTest::newRow("existing 0600 kept") << true << 0600;
        QTest::newRow("new file follows the umask") << false << int(0666 & ~022);
    }
    void permissionsOfTheFile()
    {
        QFETCH(bool, exists);
        QFETCH(int, mode);
        const QString path = PathOf("mode.kxgf");
        const mode_t oldMask = ::umask(022);
        if (exists) {
            WriteBytes(path, "old");
            QCOMPARE(::chmod(Std(path).c_str(), mode_t(mode)), 0);
        }
        StartMap();
        const bool saved = MapModule::SaveMapFile(Std(path));
        ::umask(oldMask);
        QVERIFY(saved);
        struct stat info {};
        QCOMPARE(::stat(Std(path).c_str(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
        QVERIFY(ReadBytes(path).startsWith(Header));
    }
#endif

    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("reason");  // the system's reason, none for a map the core refuses
        const QString folder = "同じ名前のフォルダがあります。";
        QTest::newRow("target is a directory") << "folder" << 10 << folder;
        QTest::newRow("missing folder") << "nowhere/map.kxgf" << 10 << "保存先のフォルダが見つかりません。";
        QTest::newRow("name too long") << QString(300, 'n') + ".kxgf" << 10 << "ファイル名またはパスが長すぎます。";
        QTest::newRow("trailing slash") << "folder/" << 10 << folder;
        QTest::newRow("link to itself") << "loop.kxgf" << 10 << "シンボリックリンクが循環しているか、多すぎます。";
        QTest::newRow("named pipe") << "pipe.kxgf" << 10 << "同じ名前の特殊なファイルがあります。";
        QTest::newRow("read-only file, 0444") << "readonly.kxgf" << 10
                                              << "ファイルが読み取り専用か、書き込む権限がありません。";
        QTest::newRow("folder without write permission") << "closed/map.kxgf" << 10
                                                         << "保存先のフォルダに書き込む権限がありません。";
        QTest::newRow("map larger than the grid") << "big.kxgf" << 300 << QString();
        QTest::newRow("negative width") << "negative.kxgf" << -10 << QString();
    }
    void failedSaveChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(int, width);
        QFETCH(QString, reason);
#ifndef Q_OS_UNIX
        if (target.startsWith("closed") || target.startsWith("loop") || target.startsWith("pipe"))
            QSKIP("Windows ignores a folder's read-only mark; links and named pipes need POSIX");
#endif
        // Root writes files and folders whatever their permissions say.
        if ((target.startsWith("readonly") || target.startsWith("closed")) && UnprivilegedRow::NeedsOtherUser()) {
            const UnprivilegedRow run = UnprivilegedRow::RunAsNobody();
            QVERIFY2(run.passed, qPrintable(run.output));
            return;
        }
        QVERIFY(QDir(dir->path()).mkdir("folder"));
        WriteBytes(PathOf("folder/inside.txt"), "keep");
        WriteBytes(PathOf("readonly.kxgf"), "keep");
        QVERIFY(QDir(dir->path()).mkdir("closed"));
#ifdef Q_OS_UNIX
        QCOMPARE(::chmod(Std(PathOf("readonly.kxgf")).c_str(), 0444), 0);
        QCOMPARE(::chmod(Std(PathOf("closed")).c_str(), 0555), 0);
        QCOMPARE(::symlink("loop.kxgf", Std(PathOf("loop.kxgf")).c_str()), 0);
        QCOMPARE(::mkfifo(Std(PathOf("pipe.kxgf")).c_str(), 0600), 0);
#else
        // The read-only attribute.
        QVERIFY(QFile::setPermissions(PathOf("readonly.kxgf"), QFile::ReadOwner | QFile::ReadOther));
#endif
        StartMap();
        const QString oldPath = PathOf("old.kxgf");
        QVERIFY(MapModule::SaveMapFile(Std(oldPath)));
        const QByteArray oldBytes = ReadBytes(oldPath);
        MapModule::MapWidth = width;
        MapModule::OwnerGrid.Set(0, 6);
        MapModule::MapChanged = MapModule::True;
        const QStringList before = Entries(dir->path());
        const QStringList folderBefore = Entries(PathOf("folder"));
        const std::string path = Std(PathOf(target));
        dialog->savePaths.push_back(path);

        MapModule::SaveMapAs();

        QCOMPARE(dialog->saveShown, 1);
        VerifyMessage(SaveFailed + "\n" + path + (reason.isEmpty() ? "" : "\n" + Std(reason)));
        QCOMPARE(ReadBytes(oldPath), oldBytes);
        QCOMPARE(ReadBytes(PathOf("readonly.kxgf")), QByteArray("keep"));
        QCOMPARE(Entries(dir->path()), before);
        QCOMPARE(Entries(PathOf("folder")), folderBefore);
        QCOMPARE(Entries(PathOf("closed")), QStringList());
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QCOMPARE(MapModule::CurrentFileName, Std(oldPath));
        QCOMPARE(window->Caption(), Std(oldPath));
    }

    void saveAsWritesTheChosenFile_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("chosen") << false;
        QTest::newRow("cancelled") << true;
    }
    void saveAsWritesTheChosenFile()
    {
        QFETCH(bool, cancel);
        StartMap();
        MapModule::MapChanged = MapModule::True;
        const QString path = PathOf("chosen.kxgf");
        if (!cancel)
            dialog->savePaths.push_back(Std(path));
        MapModule::SaveMapAs();
        QCOMPARE(QFileInfo::exists(path), !cancel);
        QCOMPARE(messages->Count(), 0);
        QCOMPARE(MapModule::MapChanged, cancel ? MapModule::True : MapModule::False);
        QCOMPARE(MapModule::CurrentFileName, cancel ? std::string() : Std(path));
        QCOMPARE(Entries(dir->path()).size(), cancel ? 0 : 1);
    }

    // Save writes CurrentFileName only while the map on screen came from that
    // file or went to it; otherwise it asks for a name like Save as.
    void saveCommand_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("asks");
        QTest::newRow("loaded map: written back") << QStringList{"load"} << false;
        QTest::newRow("saved map: written again") << QStringList{"save"} << false;
        QTest::newRow("no file yet: asks") << QStringList{} << true;
        QTest::newRow("new map after a load: asks") << QStringList{"load", "new"} << true;
        QTest::newRow("new map after a save: asks") << QStringList{"save", "new"} << true;
        QTest::newRow("new map, then a refused file: asks") << QStringList{"load", "new", "bad"} << true;
        QTest::newRow("new map, then a load: written back") << QStringList{"save", "new", "load"} << false;
        QTest::newRow("new map refused by the map window: written back")
            << QStringList{"load", "refused new"} << false;
    }
    void saveCommand()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, asks);
        const QString earlier = PathOf("earlier.kxgf");
        const QString chosen = PathOf("chosen.kxgf");
        WriteBytes(PathOf("bad.kxgf"), "not a map\r\n");
        StartMap();
        QVERIFY(MapModule::SaveMapFile(Std(earlier)));
        MapModule::ResetDocument();
        InstallPorts();
        StartMap();
        for (const QString& step : steps) {
            if (step == "load")
                QVERIFY(MapModule::LoadMapFile(Std(earlier)));
            else if (step == "save")
                QVERIFY(MapModule::SaveMapFile(Std(earlier)));
            else if (step == "bad")
                QVERIFY(!MapModule::LoadMapFile(Std(PathOf("bad.kxgf"))));
            else
                window->refuseClose = step == "refused new";
            if (step.endsWith("new"))
                QCOMPARE(MapModule::StartNewMap(12, 11), !window->refuseClose);
        }
        window->refuseClose = false;
        const QByteArray earlierBytes = ReadBytes(earlier);
        MapModule::OwnerGrid.Set(0, 6);
        MapModule::MapChanged = MapModule::True;
        dialog->savePaths.push_back(Std(chosen));

        MapModule::SaveMap();

        QCOMPARE(dialog->saveShown, asks ? 1 : 0);
        const QString written = asks ? chosen : earlier;
        QCOMPARE(MapModule::CurrentFileName, Std(written));
        QVERIFY(ReadBytes(written).contains("\r\n6\r\n"));
        if (asks)
            QCOMPARE(ReadBytes(earlier), earlierBytes);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    void openMap_data()
    {
        QTest::addColumn<bool>("dropped");  // the path comes with the call, not from the dialog
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<int>("chosen");  // 0 cancel, 1 good file, 2 bad file
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("flagAfter");
        using A = MessageAnswer;
        QTest::newRow("changed, answered No") << false << true << QList<A>{A::No} << 1 << 1 << 0 << false << -1;
        QTest::newRow("changed, Yes then cancel") << false << true << QList<A>{A::Yes} << 0 << 1 << 1 << false << -1;
        QTest::newRow("changed, Yes then rejected file") << false << true << QList<A>{A::Yes} << 2 << 1 << 1 << false << -1;
        QTest::newRow("changed, Yes then good file") << false << true << QList<A>{A::Yes} << 1 << 1 << 1 << true << 0;
        QTest::newRow("unchanged, cancel") << false << false << QList<A>{} << 0 << 0 << 1 << false << 0;
        QTest::newRow("unchanged, rejected file") << false << false << QList<A>{} << 2 << 0 << 1 << false << 0;
        QTest::newRow("unchanged, good file") << false << false << QList<A>{} << 1 << 0 << 1 << true << 0;
        QTest::newRow("dropped on a changed map, No") << true << true << QList<A>{A::No} << 1 << 1 << 0 << false << -1;
        QTest::newRow("dropped on a changed map, Yes") << true << true << QList<A>{A::Yes} << 1 << 1 << 0 << true << 0;
        QTest::newRow("dropped rejected file keeps the flag") << true << true << QList<A>{A::Yes} << 2 << 1 << 0 << false << -1;
        QTest::newRow("dropped on an unchanged map") << true << false << QList<A>{} << 1 << 0 << 0 << true << 0;
    }
    void openMap()
    {
        QFETCH(bool, dropped);
        QFETCH(bool, changed);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(int, chosen);
        QFETCH(int, questions);
        QFETCH(int, dialogs);
        QFETCH(bool, loaded);
        QFETCH(int, flagAfter);
        const QString good = PathOf("good.kxgf");
        const QString bad = PathOf("bad.kxgf");
        WriteBytes(good, Header + "2,3\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
        WriteBytes(bad, "not a map\r\n");
        StartMap();
        MapModule::MapChanged = changed ? MapModule::True : MapModule::False;
        for (MessageAnswer answer : answers)
            messages->Script({answer});
        const std::string path = Std(chosen == 1 ? good : bad);
        if (dropped)
            MapModule::OpenMapFile(path);
        else {
            if (chosen != 0)
                dialog->openPaths.push_back(path);
            MapModule::OpenMap();
        }

        QCOMPARE(messages->CountOf(CloseQuestion), questions);
        if (questions > 0) {
            const auto& call = messages->Calls()[0];
            QCOMPARE(call.title, std::string("ドキュメントを閉じますか?"));
            QCOMPARE(call.buttons, MessageButtons::YesNo);
            QCOMPARE(call.icon, MessageIcon::Question);
            QCOMPARE(call.defaultButton, MessageAnswer::Yes);
        }
        const bool reachedTheLoad = questions == 0 || answers.constFirst() == MessageAnswer::Yes;
        QCOMPARE(messages->CountOf(HeaderMessage), chosen == 2 && reachedTheLoad ? 1 : 0);
        QCOMPARE(dialog->openShown, dialogs);
        QCOMPARE(MapModule::MapWidth, loaded ? 2 : 10);
        QCOMPARE(MapModule::MapHeight, loaded ? 3 : 10);
        QCOMPARE(MapModule::CurrentFileName, loaded ? Std(good) : std::string());
        QCOMPARE(MapModule::MapChanged, std::int16_t(flagAfter));
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
        WriteBytes(path, Header + "3,3\r\n" + QByteArray::number(fileLock) + "\r\n1\r\n1\r\n1\r\n");
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
        QByteArray valid = Header + "7,5\r\n1\r\n";
        for (int s = 0; s < 35; ++s)
            valid += QByteArray::number(s % 7) + "\r\n";
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
            WriteBytes(path, bytes);
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

QTEST_GUILESS_MAIN(TestMapFile)
#include "tst_document_mapfile.moc"
