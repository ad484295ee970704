#include "document/MapFile.h"
#include "document/MapModule.h"
#include "shell/FrameCommands.h"
#include "shell/FrameMenu.h"
#include "shell/MapWindowHost.h"
#include "shell/frmMDI.h"
#include "support/FakeFileDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ModalAnswer.h"
#include "view/MapGridBuilder.h"
#include "viewer/frmOwnData.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The program itself, run as a script runs it: the help, the version, Qt's
// own options, and the level text compared with what the data viewer of the
// editor copies for the same file.
namespace {

const QByteArray Header = "KX-GRIDFORGE@VER1.00\r\n";

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

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QByteArray Lines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// A map file: the size line, the lock value, then owners from ownerAt.
QByteArray MapFile(int width, int height, int lock, const std::function<int(int)>& ownerAt)
{
    QByteArray bytes = Header + Lines({QByteArray::number(width) + "," + QByteArray::number(height),
                                       QByteArray::number(lock)});
    for (int s = 0; s < width * height; ++s)
        bytes += QByteArray::number(ownerAt(s)) + "\r\n";
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The editor started with the file: what its data viewer copies and the
// messages it showed.
struct Editor {
    FakeMessageBox messages;
    FakeFileDialog files;
    std::unique_ptr<frmMDI> frame;

    explicit Editor(const QString& mapFile)
    {
        MapModule::ResetDocument();
        frame = std::make_unique<frmMDI>(FrameDialogs{&messages, &files});
        WhenModalShows(frame.get(), [](QWidget* sizeDialog) {
            if (auto* cancel = sizeDialog->findChild<QPushButton*>("Command2"))
                cancel->click();
        });
        frame->Load(mapFile);
        frame->show();
    }
    ~Editor()
    {
        MapModule::MapChanged = MapModule::False;
        frame.reset();
        MapModule::ResetDocument();
    }
    QByteArray ViewerCopy() const
    {
        frame->Menu()->mnuFileToolShowData->trigger();
        auto* text1 = frame->Commands()->DataViewer()->findChild<QPlainTextEdit*>("Text1");
        text1->selectAll();
        text1->copy();
        return QApplication::clipboard()->mimeData()->data("text/plain");
    }
    QByteArray Messages() const
    {
        QByteArray all;
        for (const FakeMessageBox::Call& call : messages.Calls())
            all += QByteArray::fromStdString(call.text).replace("\r\n", "\n") + "\n";
        return all;
    }
};

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
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
        QTest::newRow("50 x 50, owners in turn") << MapFile(50, 50, 0, [](int s) { return s % 7; });
        QTest::newRow("lock on: the outer ring is owner 0") << MapFile(12, 10, 1, [](int) { return 5; });
        QTest::newRow("lock undetermined: nothing locked") << MapFile(12, 10, 2, [](int) { return 5; });
        QTest::newRow("lock value out of range: off") << MapFile(12, 10, 9, [](int) { return 5; });
        QTest::newRow("owners 7 and -1 give no token")
            << MapFile(10, 10, 0, [](int s) { return s % 3 == 0 ? 7 : (s % 3 == 1 ? -1 : 2); });
        QTest::newRow("3 x 2, a size only a file makes") << MapFile(3, 2, 0, [](int s) { return s; });
        QTest::newRow("fewer owner lines than sectors") << Header + Lines({"10,10", "0", "3", "4"});
        QTest::newRow("sizes on two lines") << Header + Lines({"11", "10", "1", "6", "6"});
    }
    void levelTextIsTheViewersCopy()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        Write(path, file);
        const QString output = dir.filePath("level.txt");
        Write(output, "an older text");

        const Run toStdout = RunProgram({"--level-text", path});
        QCOMPARE(toStdout.err, QByteArray());
        QCOMPARE(toStdout.status, 0);
        const Run toFile = RunProgram({"--level-text", path, "-o", output});
        QCOMPARE(toFile.err, QByteArray());
        QCOMPARE(toFile.status, 0);
        QCOMPARE(toFile.out, QByteArray());

        const Editor editor(path);
        QVERIFY(editor.frame->MapHost().SubWindow());
        const QByteArray copied = editor.ViewerCopy();
        QCOMPARE(toStdout.out, copied);
        QCOMPARE(ReadAll(output), copied);
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
        QTest::newRow("sizes beyond the grid") << Header + Lines({"60,60", "0"}) << size;
        QTest::newRow("no lock value") << Header + Lines({"10,10"}) << size;
        QTest::newRow("width 0: the map window is not built")
            << Header + Lines({"0,10", "0"}) << QByteArray(MapGridBuilder::FailureText).replace("\r\n", "\n");
        QTest::newRow("over-long file")
            << Header + Lines({"10,10", "0"}) + QByteArray(int(MapModule::MapFileSizeLimit), ' ')
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
            Write(path, file);
        const QString output = dir.filePath("level.txt");
        Write(output, "an older text");
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        for (const QStringList& target : {QStringList{}, QStringList{"-o", output}}) {
            const Run run = RunProgram(QStringList{"--level-text", path} + target);
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(Lf(run.err), message + "\n");
        }
        QCOMPARE(ReadAll(output), QByteArray("an older text"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);

        // The window says the same, and has no map.
        const Editor editor(path);
        QCOMPARE(editor.Messages(), message + "\n");
        QVERIFY(!editor.frame->MapHost().SubWindow());
    }

    void outputFileNotWritable_data()
    {
        QTest::addColumn<QString>("target");  // under a fresh folder
        QTest::newRow("a missing folder") << "none/level.txt";
        QTest::newRow("a folder") << "folder";
    }
    void outputFileNotWritable()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        Write(path, MapFile(10, 10, 0, [](int) { return 1; }));
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString output = dir.filePath(target);
        const Run run = RunProgram({"--level-text", path, "-o", output});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(Lf(run.err).startsWith("ファイルを保存できませんでした・・・保存を中止します\n" + QDir::toNativeSeparators(output).toUtf8() + "\n"),
                 run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"folder", "map.kxgf"}));
    }

    void fullStandardOutputIsReported()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no always-full device");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath("map.kxgf");
        Write(path, MapFile(10, 10, 0, [](int) { return 1; }));
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
        Write(dir.filePath("m.kxgf"), MapFile(10, 10, 0, [](int) { return 1; }));
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
