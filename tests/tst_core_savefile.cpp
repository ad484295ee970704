#include "document/FileBytes.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/SaveFailureText.h"
#include "support/MapFileFakes.h"

#include <QtTest>

#include <chrono>
#include <climits>
#include <memory>
#include <random>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

// Where a save puts the map: through symbolic links, under the longest names
// the system allows, and never half-written, even when the program is killed.

namespace {

const QByteArray Header = "KX-GRIDFORGE@VER1.00\r\n";
const QRegularExpression TempName("^\\.map\\.kxgf\\.gridforge-save-[A-Za-z0-9]{6}$");

int StartOwner(int s) { return (s * 2 + 1) % 7; }

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::string Std(const QString& path) { return path.toStdString(); }

#ifdef Q_OS_UNIX
constexpr int LongestPath = PATH_MAX - 1;
#else
// Past the old limit of 260 characters, which long paths lift.
constexpr int LongestPath = 1000;
#endif

}  // namespace

class TestSaveFile : public QObject, MapFileFakes {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString PathOf(const QString& name) const { return dir->filePath(name); }

    // The bytes SaveMapFile gives for the map now in the document.
    QByteArray MapBytes()
    {
        const QString path = PathOf("reference.kxgf");
        if (!MapModule::SaveMapFile(Std(path)))
            return {};
        const QByteArray bytes = ReadBytes(path);
        QFile::remove(path);
        return bytes;
    }

private slots:
    void init()
    {
        Install();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir(dir->path()).mkdir("sub"));
        ShowMap(10, 10, StartOwner);
    }
    void cleanup() { Remove(); }

#ifdef Q_OS_UNIX
    // A link stays a link; the file at the end of the chain takes the map
    // and keeps its permissions. "@" stands for the test's folder.
    void saveThroughLinks_data()
    {
        QTest::addColumn<QStringList>("links");  // "link>target", made in this order
        QTest::addColumn<QString>("target");
        QTest::newRow("link beside its file") << QStringList{"map.kxgf>real.kxgf"} << "real.kxgf";
        QTest::newRow("link into a folder") << QStringList{"map.kxgf>sub/real.kxgf"} << "sub/real.kxgf";
        QTest::newRow("absolute link") << QStringList{"map.kxgf>@/sub/real.kxgf"} << "sub/real.kxgf";
        QTest::newRow("chain of two links, back up a folder")
            << QStringList{"map.kxgf>sub/next.kxgf", "sub/next.kxgf>../real.kxgf"} << "real.kxgf";
        QTest::newRow("link to nothing creates its target") << QStringList{"map.kxgf>sub/new.kxgf"}
                                                          << "sub/new.kxgf";
    }
    void saveThroughLinks()
    {
        QFETCH(QStringList, links);
        QFETCH(QString, target);
        for (const QString& real : {PathOf("real.kxgf"), PathOf("sub/real.kxgf")}) {
            QFile file(real);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
            file.close();
            QCOMPARE(::chmod(Std(real).c_str(), 0640), 0);
        }
        for (const QString& link : links) {
            const QStringList parts = link.split('>');
            QString pointsTo = parts[1];
            pointsTo.replace("@", dir->path());
            QCOMPARE(::symlink(Std(pointsTo).c_str(), Std(PathOf(parts[0])).c_str()), 0);
        }
        const QByteArray expected = MapBytes();
        QVERIFY(expected.startsWith(Header));
        const QStringList before = Entries(dir->path()) + Entries(PathOf("sub"));

        QVERIFY(MapModule::SaveMapFile(Std(PathOf("map.kxgf"))));

        QCOMPARE(ReadBytes(PathOf(target)), expected);
        for (const QString& link : links) {
            const QStringList parts = link.split('>');
            char text[PATH_MAX] = {};
            const ssize_t length = ::readlink(Std(PathOf(parts[0])).c_str(), text, sizeof text - 1);
            QCOMPARE(QString::fromUtf8(text, int(std::max<ssize_t>(length, 0))),
                     QString(parts[1]).replace("@", dir->path()));
        }
        struct stat info {};
        QCOMPARE(::stat(Std(PathOf(target)).c_str(), &info), 0);
        if (target.endsWith("real.kxgf"))
            QCOMPARE(int(info.st_mode & 07777), 0640);
        QStringList after = Entries(dir->path()) + Entries(PathOf("sub"));
        if (target.endsWith("new.kxgf"))
            QVERIFY(after.removeOne("new.kxgf"));
        QCOMPARE(after, before);
        QCOMPARE(MapModule::CurrentFileName, Std(PathOf("map.kxgf")));
    }

#endif

    // The temporary file's name fits wherever the map's own name fits.
    void longestNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pathLength");  // bytes of the whole path; 0 for the test's folder
        QTest::newRow("name of 249 bytes") << QString(244, 'a') + ".kxgf" << 0;
        QTest::newRow("name of 255 bytes") << QString(250, 'a') + ".kxgf" << 0;
        QTest::newRow("255 bytes of Japanese") << QString(85, QChar(0x5730)) << 0;
        QTest::newRow("name of 255 bytes, longest path") << QString(250, 'b') + ".kxgf" << LongestPath;
        QTest::newRow("short name, longest path") << "m.kxgf" << LongestPath;
    }
    void longestNames()
    {
        QFETCH(QString, name);
        QFETCH(int, pathLength);
        QString folder = dir->path();
        if (pathLength > 0) {
            while (folder.size() + 202 + name.size() < pathLength)
                folder += "/" + QString(200, 'd');
            folder += "/" + QString(pathLength - int(folder.size()) - 2 - int(name.size()), 'e');
            QVERIFY(QDir().mkpath(folder));
            folder = QDir(folder).path();
        }
        const QString path = folder + "/" + name;
        if (pathLength > 0)
            QCOMPARE(int(Std(path).size()), pathLength);
        const QByteArray expected = MapBytes();
        const QStringList before = Entries(folder);

        for (int round = 0; round < 2; ++round) {  // a new file, then one replaced
            QVERIFY(MapModule::SaveMapFile(Std(path)));
            QCOMPARE(ReadBytes(path), expected);
            QStringList after = QStringList(before) << name;
            after.sort();
            QCOMPARE(Entries(folder), after);
        }
    }

#ifdef Q_OS_UNIX
    // A save killed at any moment leaves the file holding the old map or the
    // new one, byte for byte, and nothing visible beside it; what a kill
    // leaves behind is hidden and named as an unfinished save of the map.
    void killedSaveLeavesOldOrNewMap()
    {
        const int rounds = 300;
        const QString path = PathOf("map.kxgf");
        const int firstOwner = MapModule::OwnerGrid.At(0);
        const QByteArray first = MapBytes();
        MapModule::OwnerGrid.Set(0, 6);
        const QByteArray second = MapBytes();
        QVERIFY(first != second && !first.isEmpty() && !second.isEmpty());
        QVERIFY(MapModule::SaveMapFile(Std(path)));

        // Kills are spread over about two saves' time.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i)
            QVERIFY(MapModule::SaveMapFile(Std(path)));
        const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - start) / 20;
        std::mt19937 random(20261208u);
        std::uniform_int_distribution<long> delay(0, 2 * saveTime.count() + 50);

        int corrupt = 0;
        int visible = 0;
        int hiddenLeftovers = 0;
        for (int round = 0; round < rounds; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int round = 0;; ++round) {
                    MapModule::OwnerGrid.Set(0, round % 2 ? 6 : firstOwner);
                    MapModule::SaveMapFile(Std(path));
                }
            }
            ::usleep(useconds_t(delay(random)));
            ::kill(child, SIGKILL);
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            const QByteArray bytes = ReadBytes(path);
            corrupt += bytes != first && bytes != second;
            for (const QString& entry : Entries(dir->path())) {
                if (entry == "map.kxgf" || entry == "sub")
                    continue;
                if (TempName.match(entry).hasMatch())
                    ++hiddenLeftovers;
                else
                    ++visible;
                QFile::remove(PathOf(entry));
            }
        }
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        qInfo("%d kills during saves (%lld us each) in %.1f s: %d corrupt files, %d visible and %d hidden "
              "temporary files left",
              rounds, static_cast<long long>(saveTime.count()), seconds, corrupt, visible, hiddenLeftovers);
        QCOMPARE(corrupt, 0);
        QCOMPARE(visible, 0);
    }
#else
    // Another program holding the map file open: a reader that lets others
    // delete the file keeps its handle to the old bytes while the new map
    // takes the name; one that forbids it makes the save fail as a whole,
    // with the reason, and the file keeps the old map.
    void replaceFileOpenElsewhere_data()
    {
        QTest::addColumn<int>("share");
        QTest::addColumn<QString>("reason");  // none when saved
        const int readWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
        const QString inUse = "ファイルが他のプログラムで使われています。";
        QTest::newRow("open with every sharing") << (readWrite | FILE_SHARE_DELETE) << QString();
        QTest::newRow("open, delete not shared") << readWrite << inUse;
        QTest::newRow("open, nothing shared") << 0 << inUse;
    }
    void replaceFileOpenElsewhere()
    {
        QFETCH(int, share);
        QFETCH(QString, reason);
        const QString path = PathOf("map.kxgf");
        const QByteArray oldBytes = MapBytes();
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const QByteArray newBytes = "new map";
        const HANDLE other = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ,
                                           DWORD(share), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(other != INVALID_HANDLE_VALUE);

        const FileBytes::WriteStatus status = FileBytes::WriteAtomically(Std(path), newBytes.toStdString());

        QByteArray seen(oldBytes.size() + 16, '\0');
        DWORD count = 0;
        const BOOL read = ::ReadFile(other, seen.data(), DWORD(seen.size()), &count, nullptr);
        ::CloseHandle(other);
        QCOMPARE(QString::fromStdString(SaveFailureText(status)), reason);
        QVERIFY(read);
        QCOMPARE(seen.left(int(count)), oldBytes);
        QCOMPARE(ReadBytes(path), reason.isEmpty() ? newBytes : oldBytes);
        QStringList entries = Entries(dir->path());
        // wine's ReplaceFileW leaves its own backup behind when it fails.
        if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
            entries.removeIf([](const QString& name) { return QRegularExpression("^rf[0-9a-f]+\\.tmp$").match(name).hasMatch(); });
        QCOMPARE(entries.join(", "), QString("map.kxgf, sub"));
    }
#endif
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_core_savefile.moc"
