#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/NewMapCommand.h"
#include "support/MapFileFixture.h"
#include "support/FileSystemRefusals.h"
#include "support/MapFileText.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedRow.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(MessageAnswer)

// The file commands: Save, Save as and Open, the question before a changed
// map is closed, and saves that fail.

namespace {

const std::string SaveFailed = "ファイルを保存できませんでした・・・保存を中止します";
const std::string CloseQuestion = "変更されていますがドキュメントを閉じますか?";

}  // namespace

class TestFileCommands : public QObject, MapFileFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(Start()); }
    void cleanup() { Remove(); }

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
            QVERIFY(TestFiles::Write(path, "old"));
            QCOMPARE(::chmod(Std(path).c_str(), mode_t(mode)), 0);
        }
        StartMap();
        const bool saved = MapModule::SaveMapFile(Std(path));
        ::umask(oldMask);
        QVERIFY(saved);
        struct stat info {};
        QCOMPARE(::stat(Std(path).c_str(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
        QVERIFY(TestFiles::Read(path).startsWith(MapFileText::Header));
    }
#endif

#ifdef Q_OS_UNIX
    // A save that stands but could not keep an attribute or the ACL of the
    // file it replaced tells what was lost, in one message box after the
    // save. A capability set only root may give a file, so nobody's save
    // drops it.
    void lossesAreTold_data()
    {
        QTest::addColumn<QString>("saver");  // root, nobody, or root on a file system that refuses ACLs
        QTest::addColumn<QString>("lost");   // the message's lines after the path; none for no message
        QTest::newRow("everything kept") << "root" << QString();
        QTest::newRow("a capability set, saved by nobody") << "nobody" << "拡張属性「security.capability」";
        QTest::newRow("an ACL the file system refuses")
            << "root, no ACL"
            << "アクセス制御リスト（ACL）\nほかのユーザーがこのファイルを読み書きできなくなっていることがあります。";
    }
    void lossesAreTold()
    {
        QFETCH(QString, saver);
        QFETCH(QString, lost);
        const QString shared = UnprivilegedRow::SharedFolder();
        const QString path = (shared.isEmpty() ? dir->path() : shared) + "/map.kxgf";
        StartMap();
        if (shared.isEmpty()) {
            if (saver == "nobody" && !UnprivilegedRow::NeedsOtherUser())
                QSKIP("a capability set takes root to give");
            QVERIFY(MapModule::SaveMapFile(Std(path)));
            QCOMPARE(::chmod(Std(path).c_str(), 0666), 0);
            if (saver == "nobody") {
                const QByteArray capability = QByteArray::fromHex("0000000200040000000000000000000000000000");
                QCOMPARE(::setxattr(Std(path).c_str(), "security.capability", capability.constData(),
                                    size_t(capability.size()), 0), 0);
                QCOMPARE(::chmod(Std(dir->path()).c_str(), 0777), 0);
                const UnprivilegedRow run = UnprivilegedRow::RunAsNobody({}, dir->path());
                QVERIFY2(run.passed, qPrintable(run.output));
                return;
            }
            if (saver.endsWith("no ACL") && QProcess::execute("setfacl", {"-m", "u:1235:rw", path}) != 0)
                QSKIP("the test folder's file system takes no ACL");
        }
        MapModule::OwnerGrid.Set(0, 6);
        MapModule::MapChanged = MapModule::True;
        dialog->savePaths.push_back(Std(path));
        FileSystemRefusals::RefuseAttribute(saver.endsWith("no ACL") ? "system.posix_acl_access" : "");

        MapModule::SaveMapAs();

        FileSystemRefusals::RefuseAttribute("");
        QVERIFY(TestFiles::Read(path).contains("\r\n6\r\n"));
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QCOMPARE(messages->Count(), lost.isEmpty() ? 0 : 1);
        if (lost.isEmpty())
            return;
        const FakeMessageBox::Call& call = messages->Calls()[0];
        QCOMPARE(QString::fromStdString(call.text),
                 "ファイルを保存しましたが、元のファイルの次の情報は引き継げませんでした\n" + path + "\n" + lost);
        QCOMPARE(call.title, std::string());
        QCOMPARE(call.buttons, MessageButtons::Ok);
        QCOMPARE(call.icon, MessageIcon::Exclamation);
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
        QVERIFY(TestFiles::Write(PathOf("folder/inside.txt"), "keep"));
        QVERIFY(TestFiles::Write(PathOf("readonly.kxgf"), "keep"));
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
        const QByteArray oldBytes = TestFiles::Read(oldPath);
        MapModule::MapWidth = width;
        MapModule::OwnerGrid.Set(0, 6);
        MapModule::MapChanged = MapModule::True;
        const QStringList before = TestFiles::Entries(dir->path());
        const QStringList folderBefore = TestFiles::Entries(PathOf("folder"));
        const std::string path = Std(PathOf(target));
        dialog->savePaths.push_back(path);

        MapModule::SaveMapAs();

        QCOMPARE(dialog->saveShown, 1);
        std::string expected = SaveFailed + "\n" + path;
        if (!reason.isEmpty())
            expected.append("\n").append(Std(reason));
        VerifyMessage(expected);
        QCOMPARE(TestFiles::Read(oldPath), oldBytes);
        QCOMPARE(TestFiles::Read(PathOf("readonly.kxgf")), QByteArray("keep"));
        QCOMPARE(TestFiles::Entries(dir->path()), before);
        QCOMPARE(TestFiles::Entries(PathOf("folder")), folderBefore);
        QCOMPARE(TestFiles::Entries(PathOf("closed")), QStringList());
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
        QCOMPARE(TestFiles::Entries(dir->path()).size(), cancel ? 0 : 1);
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
        QVERIFY(TestFiles::Write(PathOf("bad.kxgf"), "not a map\r\n"));
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
        const QByteArray earlierBytes = TestFiles::Read(earlier);
        MapModule::OwnerGrid.Set(0, 6);
        MapModule::MapChanged = MapModule::True;
        dialog->savePaths.push_back(Std(chosen));

        MapModule::SaveMap();

        QCOMPARE(dialog->saveShown, asks ? 1 : 0);
        const QString written = asks ? chosen : earlier;
        QCOMPARE(MapModule::CurrentFileName, Std(written));
        QVERIFY(TestFiles::Read(written).contains("\r\n6\r\n"));
        if (asks)
            QCOMPARE(TestFiles::Read(earlier), earlierBytes);
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
        QVERIFY(TestFiles::Write(good, MapFileText::File({"2,3", "0"}) + MapFileText::Owners(6, 1)));
        QVERIFY(TestFiles::Write(bad, "not a map\r\n"));
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
};

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_document_filecommands.moc"
