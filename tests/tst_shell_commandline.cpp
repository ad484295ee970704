#include "document/LevelText.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "shell/CommandLine.h"
#include "shell/FrameCommands.h"
#include "shell/FrameMenu.h"
#include "shell/MainToolbar.h"
#include "support/MapFileText.h"
#include "support/StartedFrame.h"
#include "support/TestFiles.h"
#include "support/UnprivilegedRow.h"
#include "view/MapGridBuilder.h"
#include "viewer/frmOwnData.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

// The command line: how the arguments are read, the frame started with a map
// file, and the program itself, run as a script runs it: the help, the
// version, Qt's own options, the level text compared with what the data
// viewer of the editor copies for the same file, the map file of a level text
// compared with what the editor saves for it, and the refusals.
namespace {

using MapFileText::File;
using MapFileText::Map;

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

QString Program()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + "/../gridforge.exe";
#else
    return QCoreApplication::applicationDirPath() + "/../gridforge";
#endif
}

// The environment of a run without any display to connect to.
QProcessEnvironment WithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    return environment;
}

// With offscreen set Qt can start, take its own options and leave the rest to
// the program, as on a desktop.
Run RunProgram(const QStringList& arguments, bool offscreen = false)
{
    QProcess process;
    QProcessEnvironment environment = WithoutDisplay();
    const QTemporaryDir runtime;
    if (offscreen) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
    }
    process.setProcessEnvironment(environment);
    process.start(Program(), arguments);
    Run run;
    // A run that did not start, did not end or crashed is told in the log, so
    // that the failure of its row says which.
    if (!process.waitForFinished(60000)) {
        qWarning("gridforge %s: not finished: %s", qPrintable(arguments.join(' ')), qPrintable(process.errorString()));
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    else
        qWarning("gridforge %s: crashed, exit code %x", qPrintable(arguments.join(' ')), uint(process.exitCode()));
    return run;
}

// A text for a person as Linux writes it: Windows ends its lines in CR LF.
QByteArray Lf(QByteArray text) { return text.replace("\r\n", "\n"); }

// What the data viewer of the started editor copies.
QByteArray ViewerCopy(const StartedFrame& editor)
{
    editor.frame->Menu()->mnuFileToolShowData->trigger();
    auto* text1 = editor.frame->Commands()->DataViewer()->findChild<QPlainTextEdit*>("Text1");
    text1->selectAll();
    text1->copy();
    return QApplication::clipboard()->mimeData()->data("text/plain");
}

// The texts of the messages the editor showed, one line each.
QByteArray Messages(const StartedFrame& editor)
{
    QByteArray all;
    for (const FakeMessageBox::Call& call : editor.messages.Calls())
        all += QByteArray::fromStdString(call.text).replace("\r\n", "\n") + "\n";
    return all;
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("mapFile");
        QTest::addColumn<bool>("forQt");  // refused until Qt has taken its own options
        using A = CommandLine::Action;
        const QString here = QDir::currentPath();
        QTest::newRow("nothing: the size dialog") << QStringList{} << int(A::Start) << QString() << false;
        const QString maps = QDir::rootPath() + "maps/";  // "/maps/", "C:/maps/"
        QTest::newRow("absolute path") << QStringList{maps + "a.kxgf"} << int(A::OpenMapFile) << maps + "a.kxgf" << false;
        QTest::newRow("relative path made absolute") << QStringList{"a.kxgf"} << int(A::OpenMapFile) << here + "/a.kxgf" << false;
        QTest::newRow("any extension is tried") << QStringList{maps + "a.txt"} << int(A::OpenMapFile) << maps + "a.txt" << false;
        QTest::newRow("dash name after --") << QStringList{"--", "-a.kxgf"} << int(A::OpenMapFile) << here + "/-a.kxgf" << false;
        QTest::newRow("help") << QStringList{"--help"} << int(A::ShowHelp) << QString() << false;
        QTest::newRow("-h before a file") << QStringList{"-h", "a.kxgf"} << int(A::ShowHelp) << QString() << false;
        QTest::newRow("version") << QStringList{"--version"} << int(A::ShowVersion) << QString() << false;
        QTest::newRow("-v") << QStringList{"-v"} << int(A::ShowVersion) << QString() << false;
        QTest::newRow("level text") << QStringList{"--level-text", "a.kxgf"} << int(A::WriteLevelText) << here + "/a.kxgf" << false;
        QTest::newRow("level text, file first, -o")
            << QStringList{"a.kxgf", "--level-text", "-o", "t.txt"} << int(A::WriteLevelText) << here + "/a.kxgf" << false;
        QTest::newRow("Qt's option: left to Qt") << QStringList{"-session", "10d2f3a"} << int(A::Refuse) << QString() << true;
        QTest::newRow("Qt's options with a file: left to Qt")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "a.kxgf"} << int(A::Refuse) << QString() << true;
        QTest::newRow("an option with --level-text: refused at once")
            << QStringList{"-platform", "offscreen", "--level-text", "a.kxgf"} << int(A::Refuse) << QString() << false;
        QTest::newRow("map from level text") << QStringList{"--map-from-level-text", "l.txt", "-o", "m.kxgf"}
                                             << int(A::WriteMapFromLevelText) << here + "/l.txt" << false;
        QTest::newRow("-- alone: a plain start") << QStringList{"--"} << int(A::Start) << QString() << false;
        QTest::newRow("two files refused") << QStringList{"a.kxgf", "b.kxgf"} << int(A::Refuse) << QString() << false;
        QTest::newRow("unknown option: may be Qt's") << QStringList{"-x"} << int(A::Refuse) << QString() << true;
        QTest::newRow("the two level options together refused")
            << QStringList{"--level-text", "--map-from-level-text", "a"} << int(A::Refuse) << QString() << false;
        QTest::newRow("map from level text without a file refused")
            << QStringList{"--map-from-level-text"} << int(A::Refuse) << QString() << false;
        QTest::newRow("empty name refused") << QStringList{""} << int(A::Refuse) << QString() << false;
        QTest::newRow("level text without a file refused") << QStringList{"--level-text"} << int(A::Refuse) << QString() << false;
        QTest::newRow("-o without level text refused") << QStringList{"-o", "t.txt", "a.kxgf"} << int(A::Refuse) << QString() << false;
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, mapFile);
        QFETCH(bool, forQt);
        const CommandLine parsed = CommandLine::Parse(QStringList{"gridforge"} + arguments);
        QCOMPARE(int(parsed.action), action);
        QCOMPARE(parsed.mapFile, QDir::toNativeSeparators(mapFile));
        QCOMPARE(parsed.unknownOptionsOnly, forQt);
    }

    void startWithMapFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("map file opens instead of the size dialog")
            << Map(12, 15, 0, [](int s) { return s % 7; }) << true;
        QTest::newRow("refused file: its message, then the size dialog")
            << MapFileText::Lines({"not a map", "12,15", "0"}) << false;
    }
    void startWithMapFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, loaded);
        QTemporaryDir dir;
        const QString path = dir.filePath("start.kxgf");
        QVERIFY(TestFiles::Write(path, file));
        StartedFrame started(true, path);
        QCOMPARE(started.sizeDialogShown, !loaded);
        QCOMPARE(started.messages.CountOf("ヘッダーが違います・・・ロードを中止します"), loaded ? 0 : 1);
        QCOMPARE(MapModule::MapWidth, loaded ? 12 : 20);
        QCOMPARE(MapModule::MapHeight, loaded ? 15 : 20);
        QCOMPARE(MapModule::CurrentFileName, loaded ? path.toStdString() : std::string());
        QVERIFY(started.Map());
        QCOMPARE(started.frame->MapHost().SubWindow()->windowTitle().endsWith("start.kxgf"), loaded);
        QCOMPARE(started.frame->Toolbar3()->BrushSize1()->count(), 5);
        QVERIFY(started.frame->StatusBar());
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");  // all of it, or "*" + a part of it
        QTest::addColumn<QByteArrayList>("errorParts");
        QTest::addColumn<bool>("offscreen");
        const QByteArray version = "Gridforge " GRIDFORGE_VERSION "\n";
        const QByteArrayList none;
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << none << false;
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << none << false;
        QTest::newRow("--help in English") << QStringList{"--help"} << 0 << QByteArray("*--level-text MAP.kxgf") << none << false;
        QTest::newRow("-h in Japanese") << QStringList{"-h"} << 0 << QByteArray("*使い方: gridforge") << none << false;
        const QByteArray hint = "gridforge --help";
        // Options that Qt does not take either, once it has taken its own.
        QTest::newRow("unknown option named")
            << QStringList{"--frobnicate"} << 2 << QByteArray() << QByteArrayList{"--frobnicate", hint} << true;
        QTest::newRow("unknown short option named") << QStringList{"-x", "a.kxgf"} << 2 << QByteArray()
                                                    << QByteArrayList{"-x", hint} << true;
#ifdef Q_OS_UNIX
        // Windows always has its window system: there Qt starts as in the rows above.
        QTest::newRow("unknown option, no display at all")
            << QStringList{"--frobnicate"} << 2 << QByteArray() << QByteArrayList{"--frobnicate", hint} << false;
#endif
        QTest::newRow("Qt's option without its value")
            << QStringList{"-session"} << 2 << QByteArray() << QByteArrayList{"-session", hint} << true;
        QTest::newRow("unknown option with --level-text, no display needed")
            << QStringList{"--level-text", "a.kxgf", "-x"} << 2 << QByteArray() << QByteArrayList{"-x", hint} << false;
        QTest::newRow("--level-text without a file")
            << QStringList{"--level-text"} << 2 << QByteArray() << QByteArrayList{"--level-text", hint} << false;
        QTest::newRow("-o without --level-text")
            << QStringList{"-o", "t.txt", "a.kxgf"} << 2 << QByteArray() << QByteArrayList{"-o", hint} << false;
        QTest::newRow("-o without its file")
            << QStringList{"--level-text", "a.kxgf", "-o"} << 2 << QByteArray() << QByteArrayList{"-o", hint} << false;
    }
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QByteArrayList, errorParts);
        QFETCH(bool, offscreen);
        const Run run = RunProgram(arguments, offscreen);
        QCOMPARE(run.status, status);
        if (out.startsWith('*'))
            QVERIFY2(run.out.contains(out.mid(1)), run.out.constData());
        else
            QCOMPARE(Lf(run.out), out);
        for (const QByteArray& part : errorParts)
            QVERIFY2(run.err.contains(part), run.err.constData());
        // The reason and the hint: two lines.
        QCOMPARE(Lf(run.err).count('\n'), errorParts.isEmpty() ? 0 : 2);
    }

    void levelTextIsTheViewersCopy_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("50 x 50, owners in turn") << Map(50, 50, 0, [](int s) { return s % 7; });
        QTest::newRow("lock on: the outer ring is owner 0") << Map(12, 10, 1, [](int) { return 5; });
        QTest::newRow("lock undetermined: nothing locked") << Map(12, 10, 2, [](int) { return 5; });
        QTest::newRow("lock value out of range: off") << Map(12, 10, 9, [](int) { return 5; });
        QTest::newRow("owners 7 and -1 give no token")
            << Map(10, 10, 0, [](int s) { return s % 3 == 0 ? 7 : (s % 3 == 1 ? -1 : 2); });
        QTest::newRow("3 x 2, a size only a file makes") << Map(3, 2, 0, [](int s) { return s; });
        QTest::newRow("fewer owner lines than sectors") << File({"10,10", "0", "3", "4"});
        QTest::newRow("sizes on two lines") << File({"11", "10", "1", "6", "6"});
    }
    void levelTextIsTheViewersCopy()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        QVERIFY(TestFiles::Write(path, file));
        const QString output = dir.filePath("level.txt");
        QVERIFY(TestFiles::Write(output, "an older text"));

        const Run toStdout = RunProgram({"--level-text", path});
        QCOMPARE(toStdout.err, QByteArray());
        QCOMPARE(toStdout.status, 0);
        const Run toFile = RunProgram({"--level-text", path, "-o", output});
        QCOMPARE(toFile.err, QByteArray());
        QCOMPARE(toFile.status, 0);
        QCOMPARE(toFile.out, QByteArray());

        const StartedFrame editor(false, path);
        QVERIFY(editor.frame->MapHost().SubWindow());
        const QByteArray copied = ViewerCopy(editor);
        QVERIFY(!copied.isEmpty());  // a file that cannot be read reads as empty
        QCOMPARE(toStdout.out, copied);
        QCOMPARE(TestFiles::Read(output), copied);
    }

    void refusedFile_data()
    {
        QTest::addColumn<QByteArray>("file");  // "folder": a folder; "missing": nothing
        QTest::addColumn<QByteArray>("message");  // the window's
        QTest::addColumn<QByteArray>("reason");   // the command line's, after "gridforge: FILE: "
        const QByteArray header = "ヘッダーが違います・・・ロードを中止します";
        const QByteArray notMap = "not a map file, its first line is not KX-GRIDFORGE@VER1.00 / マップファイルではありません (ヘッダーが違います)";
        const QByteArray size = "マップサイズが正しくありません・・・ロードを中止します";
        const QByteArray badSize = "a map size the editor does not open / マップサイズが正しくありません";
        QTest::newRow("header in lower case") << QByteArray("kx-gridforge@ver1.00\r\n10,10\r\n0\r\n") << header << notMap;
        QTest::newRow("LF line ends") << QByteArray("KX-GRIDFORGE@VER1.00\n10,10\n0\n") << header << notMap;
        QTest::newRow("empty file") << QByteArray() << header << notMap;
        QTest::newRow("a folder") << QByteArray("folder") << header << QByteArray("is a folder / フォルダです");
        QTest::newRow("a missing file") << QByteArray("missing") << header
                                        << QByteArray("does not exist / ファイルがありません");
        QTest::newRow("sizes beyond the grid") << File({"60,60", "0"}) << size << badSize;
        QTest::newRow("no lock value") << File({"10,10"}) << size << badSize;
        QTest::newRow("width 0: the map window is not built")
            << File({"0,10", "0"}) << QByteArray(MapGridBuilder::FailureText).replace("\r\n", "\n") << badSize;
        QTest::newRow("over-long file")
            << File({"10,10", "0"}) + QByteArray(int(MapModule::MapFileSizeLimit), ' ')
            << QByteArray("ファイルが大きすぎます・・・ロードを中止します")
            << QByteArray("is larger than 4 MB / ファイルが大きすぎます (4 MB まで)");
    }
    void refusedFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        if (file == "folder")
            QVERIFY(QDir(dir.path()).mkdir("map.kxgf"));
        else if (file != "missing")
            QVERIFY(TestFiles::Write(path, file));
        const QString output = dir.filePath("level.txt");
        QVERIFY(TestFiles::Write(output, "an older text"));
        const QStringList before = TestFiles::Entries(dir.path());

        for (const QStringList& target : {QStringList{}, QStringList{"-o", output}}) {
            const Run run = RunProgram(QStringList{"--level-text", path} + target);
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(Lf(run.err), "gridforge: " + QDir::toNativeSeparators(path).toUtf8() + ": " + reason + "\n");
        }
        QCOMPARE(TestFiles::Read(output), QByteArray("an older text"));
        QCOMPARE(TestFiles::Entries(dir.path()), before);

        // The window keeps its own message, and has no map.
        const StartedFrame editor(false, path);
        QCOMPARE(Messages(editor), message + "\n");
        QVERIFY(!editor.frame->MapHost().SubWindow());
    }

    void outputFileNotWritable_data()
    {
        QTest::addColumn<QString>("target");  // under a fresh folder
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("reason");
        const QByteArray missing = "cannot be written, the folder does not exist / 書き込めません: 保存先のフォルダが見つかりません";
        const QByteArray folder = "cannot be written, a folder has that name / 書き込めません: 同じ名前のフォルダがあります";
        QTest::newRow("level text, a missing folder") << "none/level.txt" << "--level-text" << missing;
        QTest::newRow("level text, a folder") << "folder" << "--level-text" << folder;
        QTest::newRow("map file, a missing folder") << "none/m.kxgf" << "--map-from-level-text" << missing;
        QTest::newRow("map file, a folder") << "folder" << "--map-from-level-text" << folder;
#ifdef Q_OS_UNIX
        // Made by user 1234 in a folder like /tmp, pointing at the saver's notes.
        QTest::newRow("another user's link in a sticky folder all may write")
            << "shared/level.txt" << "--level-text"
            << QByteArray("cannot be written, another user's symbolic link in a folder like /tmp is not followed / "
                          "書き込めません: 保存先のフォルダでは、他のユーザーのシンボリックリンクをたどることができません（スティッキービット）");
#endif
    }
    void outputFileNotWritable()
    {
        QFETCH(QString, target);
        QFETCH(QString, option);
        QFETCH(QByteArray, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("in");
        const auto owners = [](int) { return 1; };
        QVERIFY(TestFiles::Write(path, option == "--level-text" ? Map(10, 10, 0, owners)
                                                                : MapFileText::LevelFile(10, 10, owners)));
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString output = dir.filePath(target);
#ifdef Q_OS_UNIX
        if (target.startsWith("shared")) {
            if (!UnprivilegedRow::NeedsOtherUser())
                QSKIP("a link of another user takes root");
            QVERIFY(TestFiles::Write(dir.filePath("notes.txt"), "notes"));
            QVERIFY(QDir(dir.path()).mkdir("shared"));
            QCOMPARE(::chmod(dir.filePath("shared").toLocal8Bit().constData(), 01777), 0);
            QCOMPARE(::symlink("../notes.txt", output.toLocal8Bit().constData()), 0);
            QCOMPARE(::lchown(output.toLocal8Bit().constData(), 1234, 1234), 0);
        }
#endif
        const QStringList before = TestFiles::Entries(dir.path());
        const Run run = RunProgram({option, path, "-o", output});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(Lf(run.err), "gridforge: " + QDir::toNativeSeparators(output).toUtf8() + ": " + reason + "\n");
        QCOMPARE(TestFiles::Entries(dir.path()), before);
        if (target.startsWith("shared"))
            QCOMPARE(TestFiles::Read(dir.filePath("notes.txt")), QByteArray("notes"));
    }

    // The map file made from a level text is the one the editor saves after
    // opening that level text, byte for byte, lock off; on standard output or
    // in the -o file, which it replaces.
    void mapFromLevelTextIsTheEditorsSave_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<int>("lock");  // the lock box when the editor opens it
        const auto turns = [](int s) { return s % 7; };
        QTest::newRow("50 x 50 in a Shift_JIS level file, LF") << MapFileText::LevelFile(50, 50, turns) << 0;
        QTest::newRow("lock box on: turned off, the ring kept") << MapFileText::LevelFile(12, 10, [](int) { return 5; }) << 1;
        QTest::newRow("the viewer's own text, CR LF") << QByteArray("own_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 ") << 0;
    }
    void mapFromLevelTextIsTheEditorsSave()
    {
        QFETCH(QByteArray, level);
        QFETCH(int, lock);
        QTemporaryDir dir;
        const QString path = dir.filePath("castle.level");
        QVERIFY(TestFiles::Write(path, level));
        const QString output = dir.filePath("castle.kxgf");
        QVERIFY(TestFiles::Write(output, "an older map"));

        const Run toStdout = RunProgram({"--map-from-level-text", path});
        QCOMPARE(toStdout.err, QByteArray());
        QCOMPARE(toStdout.status, 0);
        const Run toFile = RunProgram({"--map-from-level-text", path, "-o", output});
        QCOMPARE(toFile.err, QByteArray());
        QCOMPARE(toFile.status, 0);
        QCOMPARE(toFile.out, QByteArray());

        // The editor started with the level text: a new map, shown, changed;
        // Save asks for a name; the viewer shows the section that was read.
        StartedFrame editor(false, path, lock);
        QVERIFY(!editor.sizeDialogShown);
        QCOMPARE(editor.frame->Toolbar2()->Check1()->Value(), 0);
        QVERIFY(editor.frame->MapHost().SubWindow());
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        const QString saved = dir.filePath("saved.kxgf");
        editor.files.savePaths.push_back(saved.toStdString());
        editor.frame->Menu()->mnuFileSave->trigger();
        QCOMPARE(editor.files.saveShown, 1);
        QCOMPARE(toStdout.out, TestFiles::Read(saved));
        QCOMPARE(TestFiles::Read(output), toStdout.out);
        const QByteArray copied = ViewerCopy(editor);
        const int start = copied.indexOf("own_map= ");
        QCOMPARE(copied.mid(start, copied.indexOf("\r\n\r\n", start) - start),
                 QByteArray::fromStdString(MapModule::BuildOwnMapText()));
        QCOMPARE(TestFiles::Read(output), QByteArray::fromStdString(MapModule::MapFileText()));
    }

    void mapFromLevelTextRefused_data()
    {
        QTest::addColumn<QByteArray>("level");  // "missing": nothing; "folder": a folder
        QTest::addColumn<QByteArray>("place");  // after the file's name
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("a token that is not an owner")
            << QByteArray("\x8f\xe9\nown_map= \n3 2\n00 01 02\n03 09 05\n") << QByteArray(":5:4")
            << QByteArray("a token that is not an owner 00 to 06 / オーナー 00 から 06 のどれでもないトークンです");
        QTest::newRow("a row too short")
            << QByteArray("own_map= \r\n3 2\r\n00 01 \r\n") << QByteArray(":3:7")
            << QByteArray("a row of 2 tokens, the size says 3 / 行のトークンが 2 個です (サイズでは 3 個)");
        QTest::newRow("no own_map section") << QByteArray("typ_map= \n") << QByteArray(":2:1")
                                            << QByteArray("no own_map section / own_map の節がありません");
        QTest::newRow("a missing file") << QByteArray("missing") << QByteArray()
                                        << QByteArray("does not exist / ファイルがありません");
        QTest::newRow("a folder") << QByteArray("folder") << QByteArray() << QByteArray("is a folder / フォルダです");
        QTest::newRow("a huge file") << "own_map= \n" + QByteArray(int(MapModule::MapFileSizeLimit), '\n') << QByteArray()
                                     << QByteArray("is larger than 4 MB / ファイルが大きすぎます (4 MB まで)");
    }
    void mapFromLevelTextRefused()
    {
        QFETCH(QByteArray, level);
        QFETCH(QByteArray, place);
        QFETCH(QByteArray, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("castle.level");
        if (level == "folder")
            QVERIFY(QDir(dir.path()).mkdir("castle.level"));
        else if (level != "missing")
            QVERIFY(TestFiles::Write(path, level));
        const QString output = dir.filePath("castle.kxgf");
        QVERIFY(TestFiles::Write(output, "an older map"));
        const QStringList before = TestFiles::Entries(dir.path());
        for (const QStringList& target : {QStringList{}, QStringList{"-o", output}}) {
            const Run run = RunProgram(QStringList{"--map-from-level-text", path} + target);
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(Lf(run.err), "gridforge: " + QDir::toNativeSeparators(path).toUtf8() + place + ": " + reason + "\n");
        }
        QCOMPARE(TestFiles::Read(output), QByteArray("an older map"));
        QCOMPARE(TestFiles::Entries(dir.path()), before);
    }

    void fullStandardOutputIsReported()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no always-full device");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        QVERIFY(TestFiles::Write(path, Map(10, 10, 0, [](int) { return 1; })));
        QProcess process;
        process.setProcessEnvironment(WithoutDisplay());
        process.setStandardOutputFile("/dev/full");
        process.start(Program(), {"--level-text", path});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("標準出力に書き込めません"));
    }

    void qtOptionsStartTheEditor_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("-platform") << QStringList{"-platform", "offscreen"};
        QTest::newRow("restored session") << QStringList{"-platform", "offscreen", "-session", "10d2f3a_1"};
        QTest::newRow("-style with a map file") << QStringList{"--platform", "offscreen", "-style", "fusion", "m.kxgf"};
        QTest::newRow("an option of Qt's that no list here names")
            << QStringList{"-platform", "offscreen", "-qmljsdebugger=port:3768", "m.kxgf"};
    }
    void qtOptionsStartTheEditor()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        QVERIFY(TestFiles::Write(dir.filePath("m.kxgf"), Map(10, 10, 0, [](int) { return 1; })));
        QProcess process;
        // Only -platform can bring the editor up here.
        process.setProcessEnvironment(WithoutDisplay());
        process.setWorkingDirectory(dir.path());
        process.start(Program(), arguments);
        QVERIFY(process.waitForStarted());
        // A refused command line ends at once; the editor runs until closed.
        const bool ended = process.waitForFinished(3000);
        const QByteArray err = process.readAllStandardError();
        process.kill();
        process.waitForFinished();
        QVERIFY2(!ended, err.constData());
        QVERIFY2(!err.contains("gridforge:"), err.constData());
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_shell_commandline.moc"
