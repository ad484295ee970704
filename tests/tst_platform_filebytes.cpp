#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/SaveFailureText.h"
#include "platform/FileBytes.h"
#include "platform/TemporaryName.h"
#include "support/FileSystemRefusals.h"
#include "support/MapFileFixture.h"
#include "support/MapFileText.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedRow.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <climits>
#include <random>
#include <thread>
#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#else
#include "platform/SaveTemporaryWindows.h"
#include "platform/WindowsPaths.h"

#include <windows.h>
#include <sddl.h>
#endif

// Where a save puts the map: through symbolic links, under the longest names
// the system allows, and never half-written, even when the program is killed.

namespace {

using MapFileText::Header;
using TestFiles::Entries;

const QRegularExpression TempName("^\\.map\\.kxgf\\.gridforge-save-[A-Za-z0-9]{6}$");

// Gives the file at path the modification time of minutes ago.
bool BackDate(const QString& path, int minutes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutes), QFileDevice::FileModificationTime);
}

#ifdef Q_OS_UNIX
// The hidden entries of folder (what saves leave), each made an hour old.
QStringList BackDatedLeftovers(const QString& folder)
{
    const QStringList leftovers = Entries(folder).filter(QRegularExpression("^\\."));
    for (const QString& entry : leftovers)
        BackDate(folder + "/" + entry, 60);
    return leftovers;
}

// What a save reports lost: "ACL" and the attributes' names, by commas.
QString Lost(const FileBytes::NotKept& notKept)
{
    QStringList names;
    if (notKept.accessList)
        names << "ACL";
    for (const std::string& name : notKept.attributes)
        names << QString::fromStdString(name);
    return names.join(',');
}

// "owner:group mode" of a file.
QString Ownership(const QString& path)
{
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0)
        return "missing";
    return QString("%1:%2 %3").arg(info.st_uid).arg(info.st_gid).arg(info.st_mode & 07777, 4, 8, QChar('0'));
}

// The entries of a file's ACL as getfacl prints them, joined by commas.
QString AclOf(const QString& path)
{
    QProcess getfacl;
    getfacl.start("getfacl", {"--omit-header", "--numeric", "--absolute-names", path});
    if (!getfacl.waitForFinished() || getfacl.exitCode() != 0)
        return "getfacl failed: " + QString::fromLocal8Bit(getfacl.readAllStandardError());
    return QString::fromLocal8Bit(getfacl.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).join(',');
}

// The names of a file's extended attributes but the system's own (the ACL).
QStringList AttributeNames(const QString& path)
{
    char names[4096] = {};
    const ssize_t length = ::llistxattr(path.toLocal8Bit().constData(), names, sizeof names);
    QStringList list;
    for (const QByteArray& name : QByteArray(names, int(std::max<ssize_t>(length, 0))).split('\0'))
        if (!name.isEmpty() && !name.startsWith("system."))
            list << QString::fromLatin1(name);
    list.sort();
    return list;
}

// A capability set ("cap_net_bind_service=p", version 2), which only root may give a file.
const QByteArray Capability = QByteArray::fromHex("0000000200040000000000000000000000000000");

constexpr int LongestPath = PATH_MAX - 1;
#else
// Past the old limit of 260 characters, which long paths lift.
constexpr int LongestPath = 1000;
#endif

}  // namespace

class TestFileBytes : public QObject, MapFileFixture {
    Q_OBJECT

#ifdef Q_OS_UNIX
    // Saves to path over and over in a child process, the first owner
    // switching between 6 and otherOwner, and kills it after microseconds.
    static bool KillDuringSaves(const QString& path, int otherOwner, long microseconds)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int round = 0;; ++round) {
                MapModule::OwnerGrid.Set(0, round % 2 ? 6 : otherOwner);
                MapModule::SaveMapFile(Std(path));
            }
        }
        ::usleep(useconds_t(microseconds));
        ::kill(child, SIGKILL);
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child;
    }
#endif

    // The bytes SaveMapFile gives for the map now in the document.
    QByteArray MapBytes()
    {
        const QString path = PathOf("reference.kxgf");
        if (!MapModule::SaveMapFile(Std(path)))
            return {};
        const QByteArray bytes = TestFiles::Read(path);
        QFile::remove(path);
        return bytes;
    }

private slots:
    void init()
    {
        QVERIFY(Start());
        QVERIFY(QDir(dir->path()).mkdir("sub"));
        StartMap();
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
            QVERIFY(TestFiles::Write(real, "old"));
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

        QCOMPARE(TestFiles::Read(PathOf(target)), expected);
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

    // A file with two names (a hard link): the save replaces the name it
    // was given; the other name keeps the old map.
    void hardLinkKeepsTheOldMapUnderItsOtherName()
    {
        const QString path = PathOf("map.kxgf");
        const QString other = PathOf("sub/other-name.kxgf");
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const QByteArray oldBytes = TestFiles::Read(path);
#ifdef Q_OS_UNIX
        QCOMPARE(::link(Std(path).c_str(), Std(other).c_str()), 0);
#else
        QVERIFY(::CreateHardLinkW(reinterpret_cast<const wchar_t*>(other.utf16()),
                                  reinterpret_cast<const wchar_t*>(path.utf16()), nullptr));
#endif
        MapModule::OwnerGrid.Set(0, 6);
        const QByteArray newBytes = MapBytes();
        QVERIFY(newBytes != oldBytes);

        QVERIFY(MapModule::SaveMapFile(Std(path)));

        QCOMPARE(TestFiles::Read(path), newBytes);
        QCOMPARE(TestFiles::Read(other), oldBytes);
    }

    // The temporary file's name fits wherever the map's own name fits, and
    // the map saved there opens again.
    void longestNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pathLength");  // bytes of the whole path; 0 for the test's folder
        QTest::newRow("name of 249 bytes") << QString(244, 'a') + ".kxgf" << 0;
        QTest::newRow("name of 255 bytes") << QString(250, 'a') + ".kxgf" << 0;
        QTest::newRow("255 bytes of Japanese") << QString(85, QChar(0x5730)) << 0;
        QTest::newRow("name of 255 bytes, longest path") << QString(250, 'b') + ".kxgf" << LongestPath;
        QTest::newRow("short name, longest path") << "m.kxgf" << LongestPath;
#ifndef Q_OS_UNIX
        QTest::newRow("300 characters deep, past the old limit") << "m.kxgf" << 300;
#endif
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
            QCOMPARE(TestFiles::Read(path), expected);
            const FileBytes::ReadResult read = FileBytes::ReadBounded(Std(path), MapModule::MapFileSizeLimit);
            QCOMPARE(read.status, FileBytes::ReadStatus::Read);
            QCOMPARE(QByteArray::fromStdString(read.bytes), expected);
            QStringList after = QStringList(before) << name;
            after.sort();
            QCOMPARE(Entries(folder), after);
        }
    }


    // Both systems give a map the same temporary names: a name cut to fit
    // is cut at the same character and carries the same hash on either, so
    // a save from one cleans what a save from the other left on a share.
    void temporaryNamesAlikeOnBothSystems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("short name") << "map.kxgf";
        QTest::newRow("250 letters, cut") << QString(250, 'a') + ".kxgf";
        QTest::newRow("100 Japanese characters, cut") << QString(100, QChar(0x5730));
        QTest::newRow("characters outside the BMP, cut") << QString::fromUtf8("\xF0\x9F\x97\xBA").repeated(70);
    }
    void temporaryNamesAlikeOnBothSystems()
    {
        QFETCH(QString, name);
        std::wstring units;  // UTF-16, also where wchar_t is wider
        for (const QChar c : name)
            units += wchar_t(c.unicode());
        const TemporaryName<std::string> utf8(name.toStdString(), 255);
        const TemporaryName<std::wstring> utf16(units, 255);
        QString fromUtf16;
        for (const wchar_t unit : utf16.Stem())
            fromUtf16 += QChar(char16_t(unit));

        QCOMPARE(QString::fromStdString(utf8.Stem()), fromUtf16);
        const std::string random = utf8.Random();
        QVERIFY(random.size() <= 255 && utf8.Matches(random));
        QVERIFY(random != utf8.Random());
        QVERIFY(utf16.Matches(utf16.Random()));
    }

#ifdef Q_OS_UNIX
    // The saved file keeps the owner, the group, the ACL and the extended
    // attributes of the one it replaces as far as the saver may keep them,
    // and allows no one more than that file did. Users and groups by number:
    // 65534 is nobody, who saves when the saver is not root; 1234, 1235 and
    // 4242 belong to no one.
    void keptAcrossSave_data()
    {
        QTest::addColumn<QString>("saver");  // root, nobody, or nobody+GROUP
        QTest::addColumn<QString>("file");   // owner:group mode
        QTest::addColumn<QString>("acl");    // an entry added with setfacl; "d:..." a default of the folder
        QTest::addColumn<QStringList>("attributes");
        QTest::addColumn<QString>("savedFile");
        QTest::addColumn<QString>("savedAcl");
        QTest::addColumn<QStringList>("savedAttributes");
        QTest::addColumn<QString>("lost");  // what the save reports it could not keep
        const QStringList none;
        const QStringList comment{"user.xdg.comment"};
        QTest::newRow("root keeps another user's owner and group")
            << "root" << "1234:4242 0640" << "" << none << "1234:4242 0640" << "user::rw-,group::r--,other::---" << none
            << "";
        QTest::newRow("a member of the file's group keeps the group")
            << "nobody+4242" << "0:4242 0660" << "" << none << "65534:4242 0660" << "user::rw-,group::rw-,other::---"
            << none << "";
        QTest::newRow("ACL entry and attribute kept, the group gains nothing")
            << "root" << "1234:4242 0640" << "u:1235:rw" << comment << "1234:4242 0660"
            << "user::rw-,user:1235:rw-,group::r--,mask::rw-,other::---" << comment << "";
        QTest::newRow("a folder's default ACL does not reach a map that had no ACL")
            << "root" << "1234:4242 0664" << "d:u:65534:rw" << none << "1234:4242 0664"
            << "user::rw-,group::rw-,other::r--" << none << "";
        QTest::newRow("a file system that refuses the ACL: the save stands and says so")
            << "root, no ACL" << "1234:4242 0640" << "u:1235:rw" << comment << "1234:4242 0640"
            << "user::rw-,group::r--,other::---" << comment << "ACL";
        QTest::newRow("a group that cannot be kept has no more than others had")
            << "nobody" << "0:4242 0640" << "u:65534:rw" << none << "65534:65534 0660"
            << "user::rw-,user:65534:rw-,group::---,mask::rw-,other::---" << none << "";
        QTest::newRow("an attribute the saver may not set is left out, the rest kept")
            << "nobody" << "0:4242 0666" << "" << QStringList{"security.capability", "user.xdg.comment"}
            << "65534:65534 0666" << "user::rw-,group::rw-,other::rw-" << comment << "security.capability";
    }
    void keptAcrossSave()
    {
        QFETCH(QString, saver);
        QFETCH(QString, file);
        QFETCH(QString, acl);
        QFETCH(QStringList, attributes);
        QFETCH(QString, savedFile);
        QFETCH(QString, savedAcl);
        QFETCH(QStringList, savedAttributes);
        QFETCH(QString, lost);
        FileBytes::NotKept notKept;
        const auto save = [&](const QString& path) {
            return FileBytes::WriteAtomically(Std(path), Header.toStdString(), &notKept) == FileBytes::WriteStatus::Written;
        };
        if (!UnprivilegedRow::SharedFolder().isEmpty()) {  // the save, as nobody
            QVERIFY(save(UnprivilegedRow::SharedFolder() + "/map.kxgf"));
            QCOMPARE(Lost(notKept), lost);
            return;
        }
        if (!UnprivilegedRow::NeedsOtherUser())
            QSKIP("giving a file to other users and groups takes root");
        const QString path = PathOf("map.kxgf");
        QFile::remove(path);
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const QStringList owner = file.split(QRegularExpression("[: ]"));
        QCOMPARE(::chown(Std(path).c_str(), owner[0].toUInt(), owner[1].toUInt()), 0);
        QCOMPARE(::chmod(Std(path).c_str(), mode_t(owner[2].toUInt(nullptr, 8))), 0);
        if (!acl.isEmpty()) {
            QProcess setfacl;
            setfacl.start("setfacl", {"-m", acl, acl.startsWith("d:") ? dir->path() : path});
            QVERIFY(setfacl.waitForFinished());
            const QString error = QString::fromLocal8Bit(setfacl.readAllStandardError());
            if (error.contains("not supported"))
                QSKIP("the test folder's file system takes no ACL");
            QVERIFY2(setfacl.exitCode() == 0, qPrintable(error));
        }
        for (const QString& name : attributes) {
            const QByteArray value = name.startsWith("security.") ? Capability : QByteArray("地図の説明");
            const int set = ::setxattr(Std(path).c_str(), Std(name).c_str(), value.constData(), size_t(value.size()), 0);
            if (set != 0 && errno == ENOTSUP)
                QSKIP("the test folder's file system takes no user attributes");
            QCOMPARE(set, 0);
        }
        const QStringList before = Entries(dir->path());

        if (saver.startsWith("root")) {
            FileSystemRefusals::RefuseAttribute(saver.endsWith("no ACL") ? "system.posix_acl_access" : "");
            const bool saved = save(path);
            FileSystemRefusals::RefuseAttribute("");
            QVERIFY(saved);
            QCOMPARE(Lost(notKept), lost);
        } else {
            QCOMPARE(::chmod(Std(dir->path()).c_str(), 0777), 0);
            QList<unsigned> groups;
            if (saver.contains('+'))
                groups << saver.section('+', 1).toUInt();
            const UnprivilegedRow run = UnprivilegedRow::RunAsNobody(groups, dir->path());
            QVERIFY2(run.passed, qPrintable(run.output));
        }

        QVERIFY(TestFiles::Read(path).startsWith(Header));
        QCOMPARE(Ownership(path), savedFile);
        QCOMPARE(AclOf(path), savedAcl);
        QCOMPARE(AttributeNames(path), savedAttributes);
        for (const QString& name : savedAttributes) {
            char value[64] = {};
            const ssize_t length = ::getxattr(Std(path).c_str(), Std(name).c_str(), value, sizeof value);
            QCOMPARE(QString::fromUtf8(value, int(std::max<ssize_t>(length, 0))), QString("地図の説明"));
        }
        QCOMPARE(Entries(dir->path()), before);
    }

    // A refused save names what refuses it: a sticky folder (one like the
    // system's temporary folder) lets no one but the owner replace a file
    // that another user may write; a file mounted on the map may not be
    // replaced. The file keeps its bytes and nothing is left beside it.
    void refusalNamesItsCause_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("another user's 0666 file in a sticky folder")
            << "sticky" << "保存先のフォルダでは、他のユーザーのファイルを置き換えることができません（スティッキービット）。";
        QTest::newRow("a file mounted on the map")
            << "mount" << "ファイルがマウントポイントになっているため、置き換えることができません。";
    }
    void refusalNamesItsCause()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        if (!UnprivilegedRow::SharedFolder().isEmpty()) {  // the save, as nobody
            const auto status = FileBytes::WriteAtomically(Std(UnprivilegedRow::SharedFolder() + "/map.kxgf"), "new");
            QCOMPARE(QString::fromStdString(SaveFailureText(status)), reason);
            return;
        }
        if (!UnprivilegedRow::NeedsOtherUser())
            QSKIP("a file of another user, or a mount, takes root");
        const QString path = PathOf("map.kxgf");
        QVERIFY(TestFiles::Write(path, "old"));
        QVERIFY(TestFiles::Write(PathOf("mounted.kxgf"), "mounted"));
        bool bindMounted = false;
        const auto unmount = qScopeGuard([&] {
            if (bindMounted)
                QProcess::execute("umount", {path});
        });
        if (cause == "sticky") {
            QCOMPARE(::chmod(Std(path).c_str(), 0666), 0);
            QCOMPARE(::chmod(Std(dir->path()).c_str(), 01777), 0);
        } else {
            bindMounted = QProcess::execute("mount", {"--bind", PathOf("mounted.kxgf"), path}) == 0;
            if (!bindMounted)
                QSKIP("mount --bind is not permitted here");
        }
        const QByteArray before = TestFiles::Read(path);
        const QStringList entries = Entries(dir->path());

        if (cause == "sticky") {
            const UnprivilegedRow run = UnprivilegedRow::RunAsNobody({}, dir->path());
            QVERIFY2(run.passed, qPrintable(run.output));
        } else {
            const auto status = FileBytes::WriteAtomically(Std(path), "new");
            QCOMPARE(QString::fromStdString(SaveFailureText(status)), reason);
        }

        QCOMPARE(TestFiles::Read(path), before);
        QCOMPARE(Entries(dir->path()), entries);
    }

    // A new map gets what any other program's new file gets in its folder:
    // the umask, or the folder's default ACL (which the kernel applies only
    // when the file is made). The reference is a file made with open(0666).
    void newMapTakesWhatTheFolderGives_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("defaults");  // the folder's default ACL entries, for setfacl -d
        QTest::addColumn<QString>("mode");
        QTest::newRow("umask 022") << 022 << "" << "0644";
        QTest::newRow("umask 077") << 077 << "" << "0600";
        QTest::newRow("a default ACL: the group and a named user may write")
            << 022 << "g::rw,u:65534:rw" << "0660";
    }
    void newMapTakesWhatTheFolderGives()
    {
        QFETCH(int, mask);
        QFETCH(QString, defaults);
        QFETCH(QString, mode);
        if (!defaults.isEmpty() && QProcess::execute("setfacl", {"-d", "-m", defaults, dir->path()}) != 0)
            QSKIP("the test folder's file system takes no ACL");
        const mode_t oldMask = ::umask(mode_t(mask));
        const int reference = ::open(Std(PathOf("reference.txt")).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        const bool saved = MapModule::SaveMapFile(Std(PathOf("map.kxgf")));
        ::umask(oldMask);
        QVERIFY(reference >= 0 && ::close(reference) == 0);
        QVERIFY(saved);

        QCOMPARE(Ownership(PathOf("map.kxgf")).section(' ', 1), mode);
        QCOMPARE(Ownership(PathOf("map.kxgf")), Ownership(PathOf("reference.txt")));
        QCOMPARE(AclOf(PathOf("map.kxgf")), AclOf(PathOf("reference.txt")));
    }

    // In a folder that is sticky and that all may write (like /tmp), a save
    // follows a symbolic link only where the kernel's protected_symlinks
    // rule would: a link of the saver or of the folder's owner. Another
    // user's link is refused, and the file it points to keeps its bytes.
    // Users by number: 65534 is nobody; 1234 and 1235 belong to no one.
    void linksInStickyFolders_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("folderOwner");
        QTest::addColumn<int>("linkOwner");
        QTest::addColumn<QString>("saver");  // root or nobody
        QTest::addColumn<QString>("reason");  // none when the link is followed
        const QString refused = "保存先のフォルダでは、他のユーザーのシンボリックリンクをたどることができません（スティッキービット）。";
        QTest::newRow("another user's link in a sticky folder all may write") << 01777 << 0 << 1234 << "nobody" << refused;
        QTest::newRow("the same, saved by root") << 01777 << 1235 << 1234 << "root" << refused;
        QTest::newRow("the saver's own link") << 01777 << 0 << 65534 << "nobody" << QString();
        QTest::newRow("a link of the folder's owner") << 01777 << 1235 << 1235 << "nobody" << QString();
        QTest::newRow("a sticky folder only its owner may write") << 01755 << 0 << 1234 << "nobody" << QString();
        QTest::newRow("a folder all may write, not sticky") << 0777 << 0 << 1234 << "nobody" << QString();
    }
    void linksInStickyFolders()
    {
        QFETCH(int, folderMode);
        QFETCH(int, folderOwner);
        QFETCH(int, linkOwner);
        QFETCH(QString, saver);
        QFETCH(QString, reason);
        const auto saveThroughLink = [&](const QString& top) {
            const auto status = FileBytes::WriteAtomically(Std(top + "/shared/map.kxgf"), "new");
            return QString::fromStdString(SaveFailureText(status));
        };
        if (!UnprivilegedRow::SharedFolder().isEmpty()) {  // the save, as nobody
            QCOMPARE(saveThroughLink(UnprivilegedRow::SharedFolder()), reason);
            return;
        }
        if (!UnprivilegedRow::NeedsOtherUser())
            QSKIP("links of other users take root");
        const QString shared = PathOf("shared");
        const QString notes = PathOf("mine/notes.txt");
        QVERIFY(QDir(dir->path()).mkdir("shared") && QDir(dir->path()).mkdir("mine"));
        QVERIFY(TestFiles::Write(notes, "notes"));
        QCOMPARE(::chmod(Std(dir->path()).c_str(), 0755), 0);
        QCOMPARE(::chown(Std(PathOf("mine")).c_str(), 65534, 65534), 0);
        QCOMPARE(::chown(Std(notes).c_str(), 65534, 65534), 0);
        QCOMPARE(::chown(Std(shared).c_str(), uid_t(folderOwner), 0), 0);
        QCOMPARE(::chmod(Std(shared).c_str(), mode_t(folderMode)), 0);
        QCOMPARE(::symlink("../mine/notes.txt", Std(shared + "/map.kxgf").c_str()), 0);
        QCOMPARE(::lchown(Std(shared + "/map.kxgf").c_str(), uid_t(linkOwner), 0), 0);
        const QStringList before = Entries(shared) + Entries(PathOf("mine"));

        if (saver == "root") {
            QCOMPARE(saveThroughLink(dir->path()), reason);
        } else {
            const UnprivilegedRow run = UnprivilegedRow::RunAsNobody({}, dir->path());
            QVERIFY2(run.passed, qPrintable(run.output));
        }

        QCOMPARE(TestFiles::Read(notes), QByteArray(reason.isEmpty() ? "new" : "notes"));
        QVERIFY(QFileInfo(shared + "/map.kxgf").isSymLink());
        QCOMPARE(Entries(shared) + Entries(PathOf("mine")), before);
    }

    // A save whose temporary file another program removed while it wrote
    // (a save on another machine, where this machine's lock does not reach)
    // says so, and leaves the map as it was.
    void vanishedTemporaryFileIsTold()
    {
        const QString path = PathOf("map.kxgf");
        QVERIFY(TestFiles::Write(path, "old"));
        const QStringList before = Entries(dir->path());
        FileSystemRefusals::RemoveNextFlushedFile();

        const auto status = FileBytes::WriteAtomically(Std(path), "new");

        QCOMPARE(QString::fromStdString(SaveFailureText(status)),
                 QString("保存中の一時ファイルが、ほかのプログラムによって削除されました。"));
        QCOMPARE(TestFiles::Read(path), QByteArray("old"));
        QCOMPARE(Entries(dir->path()), before);
    }

#endif

    // A save removes what killed saves of the same map left and nothing else:
    // not a file a running save still holds, nor one that changed in the last
    // minutes (a save on another machine, where the locks of this one may not
    // reach), nor anything of another name or kind. The random part may be
    // any six letters or digits: older builds on Windows gave six digits.
    void leftoversOfEarlierSaves_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("kind");  // file, held file, folder or link
        QTest::addColumn<int>("minutes");   // since the file last changed
        QTest::addColumn<bool>("removed");
        const QString leftover = ".map.kxgf.gridforge-save-123456";
        QTest::newRow("a killed save's file") << leftover << "file" << 60 << true;
        QTest::newRow("a killed save's file, letters and digits") << ".map.kxgf.gridforge-save-aZ09bY" << "file" << 60 << true;
        QTest::newRow("a running save's file") << leftover << "held file" << 60 << false;
        QTest::newRow("another map's") << ".other.kxgf.gridforge-save-123456" << "file" << 60 << false;
        QTest::newRow("a map whose name begins alike") << ".map.kxgf.bak.gridforge-save-123456" << "file" << 60 << false;
        QTest::newRow("one digit short") << ".map.kxgf.gridforge-save-12345" << "file" << 60 << false;
        QTest::newRow("not a digit") << ".map.kxgf.gridforge-save-12345-" << "file" << 60 << false;
        QTest::newRow("not hidden") << "map.kxgf.gridforge-save-123456" << "file" << 60 << false;
        QTest::newRow("a folder") << leftover << "folder" << 60 << false;
        QTest::newRow("a link") << leftover << "link" << 60 << false;
#ifdef Q_OS_UNIX
        QTest::newRow("a file nothing holds, changed 14 minutes ago") << leftover << "file" << 14 << false;
        QTest::newRow("a killed save's file where locks need a descriptor open for writing (NFS)")
            << leftover << "file on NFS" << 60 << true;
#endif
    }
    void leftoversOfEarlierSaves()
    {
        QFETCH(QString, entry);
        QFETCH(QString, kind);
        QFETCH(int, minutes);
        QFETCH(bool, removed);
        const QString path = PathOf("map.kxgf");
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        QVERIFY(TestFiles::Write(PathOf("other.kxgf"), "other"));
        if (kind == "folder") {
            QVERIFY(QDir(dir->path()).mkdir(entry));
        } else if (kind == "link") {
#ifdef Q_OS_UNIX
            QCOMPARE(::symlink("other.kxgf", Std(PathOf(entry)).c_str()), 0);
#else
            if (!::CreateSymbolicLinkW(reinterpret_cast<const wchar_t*>(PathOf(entry).utf16()), L"other.kxgf",
                                       SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
                QSKIP("symbolic links need a privilege or developer mode here");
#endif
        } else {
            QVERIFY(TestFiles::Write(PathOf(entry), TestFiles::Read(path)) && QFileInfo(PathOf(entry)).size() > 0);
            QVERIFY(BackDate(PathOf(entry), minutes));
        }
#ifdef Q_OS_UNIX
        FileSystemRefusals::LockOnlyForWriting(kind == "file on NFS");
        const auto localLocks = qScopeGuard([] { FileSystemRefusals::LockOnlyForWriting(false); });
#endif
        // A running save holds its file: locked on Linux, open without sharing on Windows.
#ifdef Q_OS_UNIX
        const int held = kind == "held file" ? ::open(Std(PathOf(entry)).c_str(), O_WRONLY | O_CLOEXEC) : -1;
        const auto release = qScopeGuard([&] {
            if (held >= 0)
                ::close(held);
        });
        if (held >= 0)
            QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);
#else
        const HANDLE held = kind == "held file" ? ::CreateFileW(reinterpret_cast<const wchar_t*>(PathOf(entry).utf16()),
                                                                 GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                                                 FILE_ATTRIBUTE_NORMAL, nullptr)
                                                : INVALID_HANDLE_VALUE;
        const auto release = qScopeGuard([&] {
            if (held != INVALID_HANDLE_VALUE)
                ::CloseHandle(held);
        });
        QCOMPARE(held != INVALID_HANDLE_VALUE, kind == "held file");
#endif
        QStringList expected = Entries(dir->path());
        if (removed)
            expected.removeOne(entry);

        QVERIFY(MapModule::SaveMapFile(Std(path)));

        QCOMPARE(Entries(dir->path()), expected);
        QCOMPARE(TestFiles::Read(PathOf("other.kxgf")), QByteArray("other"));
    }

#ifdef Q_OS_UNIX
    // A name cut short in the temporary name: its leftovers are its own, and
    // a save of another long name that begins alike keeps them.
    void leftoversOfLongNames()
    {
        const QString mine = QString(250, 'a') + ".kxgf";
        const QString other = QString(249, 'a') + "b.kxgf";
        QVERIFY(MapModule::SaveMapFile(Std(PathOf(mine))));
        QVERIFY(MapModule::SaveMapFile(Std(PathOf(other))));
        QStringList leftovers;
        for (long delay = 0; delay < 200000 && leftovers.isEmpty(); delay += 500) {
            QVERIFY(KillDuringSaves(PathOf(other), 0, delay));
            leftovers = Entries(dir->path()).filter(QRegularExpression("^\\."));
        }
        QVERIFY2(!leftovers.isEmpty(), "no killed save left anything behind");
        QCOMPARE(BackDatedLeftovers(dir->path()), leftovers);

        QVERIFY(MapModule::SaveMapFile(Std(PathOf(mine))));
        QCOMPARE(Entries(dir->path()).filter(QRegularExpression("^\\.")), leftovers);
        QVERIFY(MapModule::SaveMapFile(Std(PathOf(other))));
        QCOMPARE(Entries(dir->path()).filter(QRegularExpression("^\\.")), QStringList());
    }

    // A save killed at any moment leaves the file holding the old map or the
    // new one, byte for byte, and nothing visible beside it; what a kill
    // leaves behind is hidden, named as an unfinished save of the map, and
    // removed by the next save that ends once it is some minutes old.
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
        int mostLeftovers = 0;
        for (int round = 0; round < rounds; ++round) {
            QVERIFY(KillDuringSaves(path, firstOwner, delay(random)));
            const QByteArray bytes = TestFiles::Read(path);
            corrupt += bytes != first && bytes != second;
            int leftovers = 0;
            for (const QString& entry : Entries(dir->path())) {
                if (entry == "map.kxgf" || entry == "sub")
                    continue;
                if (TempName.match(entry).hasMatch()) {
                    ++leftovers;
                } else {
                    ++visible;
                    QFile::remove(PathOf(entry));
                }
            }
            mostLeftovers = std::max(mostLeftovers, leftovers);
        }
        BackDatedLeftovers(dir->path());
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const QStringList after = Entries(dir->path());
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        qInfo("%d kills during saves (%lld us each) in %.1f s: %d corrupt files, %d visible temporary files, "
              "at most %d hidden ones at a time, %d left after one more save",
              rounds, static_cast<long long>(saveTime.count()), seconds, corrupt, visible, mostLeftovers,
              int(after.size()) - 2);
        QCOMPARE(corrupt, 0);
        QCOMPARE(visible, 0);
        QCOMPARE(after, QStringList({"map.kxgf", "sub"}));
    }
#else
    // The saved file keeps the old one's access list (set here in the
    // system's text form), its attributes and its named streams.
    void keptAcrossSave_data()
    {
        QTest::addColumn<QString>("access");  // empty: the one the folder gives
        QTest::addColumn<int>("attributes");
        QTest::addColumn<QByteArray>("stream");  // of the name ":notes"
        QTest::newRow("an access list of its own")
            << "D:P(A;;FA;;;BA)(A;;FA;;;SY)" << int(FILE_ATTRIBUTE_ARCHIVE) << QByteArray();
        QTest::newRow("hidden and system")
            << "" << int(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE) << QByteArray();
        QTest::newRow("a named stream") << "" << int(FILE_ATTRIBUTE_ARCHIVE) << QByteArray("a colleague's notes");
    }
    void keptAcrossSave()
    {
        QFETCH(QString, access);
        QFETCH(int, attributes);
        QFETCH(QByteArray, stream);
        const QString path = PathOf("map.kxgf");
        const auto wide = [](const QString& text) { return reinterpret_cast<const wchar_t*>(text.utf16()); };
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const auto accessList = [&] {
            DWORD size = 0;
            ::GetFileSecurityW(wide(path), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
            QByteArray descriptor(int(size), '\0');
            wchar_t* text = nullptr;
            if (!::GetFileSecurityW(wide(path), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
                !::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                                        DACL_SECURITY_INFORMATION, &text, nullptr))
                return QString("unreadable");
            const QString result = QString::fromWCharArray(text);
            ::LocalFree(text);
            return result;
        };
        if (!access.isEmpty()) {
            PSECURITY_DESCRIPTOR descriptor = nullptr;
            QVERIFY(::ConvertStringSecurityDescriptorToSecurityDescriptorW(wide(access), SDDL_REVISION_1, &descriptor,
                                                                           nullptr));
            const BOOL set = ::SetFileSecurityW(wide(path), DACL_SECURITY_INFORMATION, descriptor);
            ::LocalFree(descriptor);
            QVERIFY(set);
        }
        if (!stream.isEmpty()) {
            DWORD flags = 0;
            const QString root = QDir::toNativeSeparators(QStorageInfo(dir->path()).rootPath());
            if (!::GetVolumeInformationW(wide(root), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
                !(flags & FILE_NAMED_STREAMS))
                QSKIP("the test folder's file system keeps no named streams (wine's does not)");
            QFile notes(path + ":notes");
            QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write(stream) == stream.size());
        }
        QVERIFY(::SetFileAttributesW(wide(path), DWORD(attributes)));
        const QString before = accessList();
        // Everyone had an entry in the folder's list; the file's own has none.
        // (wine derives the list from the Unix permissions, which it keeps.)
        QCOMPARE(before.contains(";;;WD)"), access.isEmpty());

        QVERIFY(MapModule::SaveMapFile(Std(path)));

        QVERIFY(TestFiles::Read(path).startsWith(Header));
        QCOMPARE(accessList(), before);
        QCOMPARE(int(::GetFileAttributesW(wide(path))), attributes);
        if (!stream.isEmpty())
            QCOMPARE(TestFiles::Read(path + ":notes"), stream);
        QCOMPARE(Entries(dir->path()).join(", "), QString("map.kxgf, sub"));
    }

    // A save while another save of the same map (another program's) removes
    // the leftovers of earlier saves, over and over: the temporary file stays
    // held, and so its own, until it has taken the map's place.
    void savesWhileLeftoversAreRemoved()
    {
        const QString path = PathOf("map.kxgf");
        const std::string bytes = MapBytes().toStdString();
        QVERIFY(MapModule::SaveMapFile(Std(path)));
        const std::wstring target = WindowsPaths::LongPath(WindowsPaths::Wide(Std(path)));
        std::atomic<bool> saving{true};
        int cleanings = 0;
        std::thread other([&] {
            while (saving) {
                SaveTemporary::RemoveLeftovers(target);
                ++cleanings;
            }
        });
        QStringList refused;
        for (int round = 0; round < 300; ++round)
            if (const FileBytes::WriteStatus status = FileBytes::WriteAtomically(Std(path), bytes);
                status != FileBytes::WriteStatus::Written)
                refused << QString::fromStdString(SaveFailureText(status));
        saving = false;
        other.join();
        qInfo("300 saves while the leftovers were removed %d times: %d refused", cleanings, int(refused.size()));
        QCOMPARE(refused.join(" / "), QString());
        QCOMPARE(TestFiles::Read(path).toStdString(), bytes);
        QCOMPARE(Entries(dir->path()).join(", "), QString("map.kxgf, sub"));
    }

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
        QCOMPARE(TestFiles::Read(path), reason.isEmpty() ? newBytes : oldBytes);
        QStringList entries = Entries(dir->path());
        // wine's ReplaceFileW leaves its own backup behind when it fails.
        if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
            entries.removeIf([](const QString& name) { return QRegularExpression("^rf[0-9a-f]+\\.tmp$").match(name).hasMatch(); });
        QCOMPARE(entries.join(", "), QString("map.kxgf, sub"));
    }
#endif
};

QTEST_GUILESS_MAIN(TestFileBytes)
#include "tst_platform_filebytes.moc"
