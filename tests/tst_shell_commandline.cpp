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
// version, Qt's own options, and the level text compared with what the data
// viewer of the editor copies for the same file.
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

Run RunProgram(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(WithoutDisplay());
    process.start(Program(), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
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
        using A = CommandLine::Action;
        const QString here = QDir::currentPath();
        QTest::newRow("nothing: the size dialog") << QStringList{} << int(A::Start) << QString();
        const QString maps = QDir::rootPath() + "maps/";  // "/maps/", "C:/maps/"
        QTest::newRow("absolute path") << QStringList{maps + "a.kxgf"} << int(A::OpenMapFile) << maps + "a.kxgf";
        QTest::newRow("relative path made absolute") << QStringList{"a.kxgf"} << int(A::OpenMapFile) << here + "/a.kxgf";
        QTest::newRow("any extension is tried") << QStringList{maps + "a.txt"} << int(A::OpenMapFile) << maps + "a.txt";
        QTest::newRow("dash name after --") << QStringList{"--", "-a.kxgf"} << int(A::OpenMapFile) << here + "/-a.kxgf";
        QTest::newRow("help") << QStringList{"--help"} << int(A::ShowHelp) << QString();
        QTest::newRow("-h before a file") << QStringList{"-h", "a.kxgf"} << int(A::ShowHelp) << QString();
        QTest::newRow("version") << QStringList{"--version"} << int(A::ShowVersion) << QString();
        QTest::newRow("-v") << QStringList{"-v"} << int(A::ShowVersion) << QString();
        QTest::newRow("level text") << QStringList{"--level-text", "a.kxgf"} << int(A::WriteLevelText) << here + "/a.kxgf";
        QTest::newRow("level text, file first, -o")
            << QStringList{"a.kxgf", "--level-text", "-o", "t.txt"} << int(A::WriteLevelText) << here + "/a.kxgf";
        QTest::newRow("restored session: a plain start") << QStringList{"-session", "10d2f3a"} << int(A::Start) << QString();
        QTest::newRow("Qt's options with a file")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "a.kxgf"} << int(A::OpenMapFile) << here + "/a.kxgf";
        QTest::newRow("Qt's option with two dashes") << QStringList{"--platform", "offscreen"} << int(A::Start) << QString();
        QTest::newRow("-- alone: a plain start") << QStringList{"--"} << int(A::Start) << QString();
        QTest::newRow("two files refused") << QStringList{"a.kxgf", "b.kxgf"} << int(A::Refuse) << QString();
        QTest::newRow("unknown option refused") << QStringList{"-x"} << int(A::Refuse) << QString();
        QTest::newRow("Qt's option without its value refused") << QStringList{"-session"} << int(A::Refuse) << QString();
        QTest::newRow("empty name refused") << QStringList{""} << int(A::Refuse) << QString();
        QTest::newRow("level text without a file refused") << QStringList{"--level-text"} << int(A::Refuse) << QString();
        QTest::newRow("-o without level text refused") << QStringList{"-o", "t.txt", "a.kxgf"} << int(A::Refuse) << QString();
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, mapFile);
        const CommandLine parsed = CommandLine::Parse(QStringList{"gridforge"} + arguments);
        QCOMPARE(int(parsed.action), action);
        QCOMPARE(parsed.mapFile, QDir::toNativeSeparators(mapFile));
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
        const QByteArray version = "Gridforge " GRIDFORGE_VERSION "\n";
        const QByteArrayList none;
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << none;
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << none;
        QTest::newRow("--help in English") << QStringList{"--help"} << 0 << QByteArray("*--level-text MAP.kxgf") << none;
        QTest::newRow("-h in Japanese") << QStringList{"-h"} << 0 << QByteArray("*使い方: gridforge") << none;
        const QByteArray hint = "gridforge --help";
        QTest::newRow("unknown option named")
            << QStringList{"--frobnicate"} << 2 << QByteArray() << QByteArrayList{"--frobnicate", hint};
        QTest::newRow("unknown short option named") << QStringList{"-x", "a.kxgf"} << 2 << QByteArray()
                                                    << QByteArrayList{"-x", hint};
        QTest::newRow("--level-text without a file")
            << QStringList{"--level-text"} << 2 << QByteArray() << QByteArrayList{"--level-text", hint};
        QTest::newRow("-o without --level-text")
            << QStringList{"-o", "t.txt", "a.kxgf"} << 2 << QByteArray() << QByteArrayList{"-o", hint};
        QTest::newRow("-o without its file")
            << QStringList{"--level-text", "a.kxgf", "-o"} << 2 << QByteArray() << QByteArrayList{"-o", hint};
    }
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QByteArrayList, errorParts);
        const Run run = RunProgram(arguments);
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
        QTest::addColumn<QByteArray>("message");
        const QByteArray header = "ヘッダーが違います・・・ロードを中止します";
        const QByteArray size = "マップサイズが正しくありません・・・ロードを中止します";
        QTest::newRow("header in lower case") << QByteArray("kx-gridforge@ver1.00\r\n10,10\r\n0\r\n") << header;
        QTest::newRow("LF line ends") << QByteArray("KX-GRIDFORGE@VER1.00\n10,10\n0\n") << header;
        QTest::newRow("empty file") << QByteArray() << header;
        QTest::newRow("a folder") << QByteArray("folder") << header;
        QTest::newRow("a missing file") << QByteArray("missing") << header;
        QTest::newRow("sizes beyond the grid") << File({"60,60", "0"}) << size;
        QTest::newRow("no lock value") << File({"10,10"}) << size;
        QTest::newRow("width 0: the map window is not built")
            << File({"0,10", "0"}) << QByteArray(MapGridBuilder::FailureText).replace("\r\n", "\n");
        QTest::newRow("over-long file")
            << File({"10,10", "0"}) + QByteArray(int(MapModule::MapFileSizeLimit), ' ')
            << QByteArray("ファイルが大きすぎます・・・ロードを中止します");
    }
    void refusedFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, message);
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
            QCOMPARE(Lf(run.err), message + "\n");
        }
        QCOMPARE(TestFiles::Read(output), QByteArray("an older text"));
        QCOMPARE(TestFiles::Entries(dir.path()), before);

        // The window says the same, and has no map.
        const StartedFrame editor(false, path);
        QCOMPARE(Messages(editor), message + "\n");
        QVERIFY(!editor.frame->MapHost().SubWindow());
    }

    void outputFileNotWritable_data()
    {
        QTest::addColumn<QString>("target");  // under a fresh folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("a missing folder") << "none/level.txt" << "保存先のフォルダが見つかりません。";
        QTest::newRow("a folder") << "folder" << "同じ名前のフォルダがあります。";
#ifdef Q_OS_UNIX
        // Made by user 1234 in a folder like /tmp, pointing at the saver's notes.
        QTest::newRow("another user's link in a sticky folder all may write")
            << "shared/level.txt"
            << "保存先のフォルダでは、他のユーザーのシンボリックリンクをたどることができません（スティッキービット）。";
#endif
    }
    void outputFileNotWritable()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        QVERIFY(TestFiles::Write(path, Map(10, 10, 0, [](int) { return 1; })));
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
        const Run run = RunProgram({"--level-text", path, "-o", output});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(Lf(run.err), "ファイルを保存できませんでした・・・保存を中止します\n" +
                                  QDir::toNativeSeparators(output).toUtf8() + "\n" + reason.toUtf8() + "\n");
        QCOMPARE(TestFiles::Entries(dir.path()), before);
        if (target.startsWith("shared"))
            QCOMPARE(TestFiles::Read(dir.filePath("notes.txt")), QByteArray("notes"));
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
