#include "shell/FrameMenu.h"
#include "shell/MainToolbar.h"
#include "shell/MapDataPanel.h"
#include "support/MapFileText.h"
#include "support/StartedFrame.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

// The file commands on a started frame: new, save, save as, open, exit and a
// map file or a level text dropped on the frame, with the questions and
// messages they bring.
class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void newMapQuestion_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("dialogShown");
        QTest::newRow("unchanged: no question") << false << int(MessageAnswer::No) << true;
        QTest::newRow("changed, No") << true << int(MessageAnswer::No) << false;
        QTest::newRow("changed, Yes") << true << int(MessageAnswer::Yes) << true;
    }
    void newMapQuestion()
    {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, dialogShown);
        StartedFrame started(true);
        MapModule::MapChanged = changed ? MapModule::True : MapModule::False;
        started.messages.Script({MessageAnswer(answer)});
        bool shown = false;
        QObject watch;
        WhenModalShows(
            &watch, [&](QWidget* dialog) {
                shown = qobject_cast<frmMapSelect*>(dialog) != nullptr;
                PressButtonNamed(dialog, "Command2");
            },
            30);
        started.frame->Menu()->mnuFileNew->trigger();
        QCOMPARE(started.messages.CountOf("変更されていますが[新規作成]を実行しますか?"), changed ? 1 : 0);
        QCOMPARE(shown, dialogShown);
        QCOMPARE(MapModule::MapChanged, changed ? MapModule::True : MapModule::False);
        QVERIFY(started.Map());
    }

    void newMapOnChangedMapAsksTheMapWindowToo()
    {
        StartedFrame started(true);
        MapModule::MapChanged = MapModule::True;
        MapModule::OwnerGrid.Set(5, 4);
        started.messages.Script({MessageAnswer::Yes, MessageAnswer::Yes});
        WhenModalShows(started.frame.get(), [](QWidget* dialog) {
            dialog->findChild<QComboBox*>("Combo1")->setCurrentIndex(0);
            PressButtonNamed(dialog, "Command1");
        });
        started.frame->Toolbar3()->Button(1)->click();
        QCOMPARE(started.messages.CountOf("変更されていますが終了しますか?"), 1);
        QCOMPARE(MapModule::MapWidth, 10);
        QCOMPARE(MapModule::OwnerGrid.At(5), 0);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    void saveCommand()
    {
        StartedFrame started(true);
        QTemporaryDir dir;
        const std::string path = dir.filePath("first.kxgf").toStdString();
        // With no file name yet, Save asks for one.
        started.files.savePaths.push_back(path);
        started.frame->Menu()->mnuFileSave->trigger();
        QCOMPARE(started.files.saveShown, 1);
        QCOMPARE(MapModule::CurrentFileName, path);
        QVERIFY(QFileInfo::exists(QString::fromStdString(path)));
        // With a name, Save writes there without a dialog.
        MapModule::MapChanged = MapModule::True;
        MapModule::OwnerGrid.Set(0, 6);
        started.frame->Menu()->mnuFileSave->trigger();
        QCOMPARE(started.files.saveShown, 1);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QVERIFY(TestFiles::Read(QString::fromStdString(path)).startsWith(MapFileText::File({"20,20", "0", "6"})));
    }

    void saveToAnUnwritablePathIsReported()
    {
        StartedFrame started(true);
        QTemporaryDir dir;
        MapModule::CurrentFileName = dir.path().toStdString();  // a folder cannot be written as a file
        MapModule::MapTiedToCurrentFile = true;
        MapModule::MapChanged = MapModule::True;
        started.frame->Menu()->mnuFileSave->trigger();
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QCOMPARE(started.messages.Count(), 1);
        QCOMPARE(started.messages.Calls()[0].icon, MessageIcon::Error);
        QVERIFY(started.messages.Calls()[0].text.find(QDir::toNativeSeparators(dir.path()).toStdString()) !=
                std::string::npos);
    }

    // A path the user reads is the system's own: "\\" and the drive on
    // Windows, whatever form it was handed in.
    void shownPathsAreTheSystems_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("withoutDrive");
        QTest::newRow("caption after Save as") << true << false;
        QTest::newRow("failure text of a save") << false << false;
#ifdef Q_OS_WIN
        QTest::newRow("caption of a path without its drive") << true << true;
        QTest::newRow("failure text of a path without its drive") << false << true;
#endif
    }
    void shownPathsAreTheSystems()
    {
        QFETCH(bool, writable);
        QFETCH(bool, withoutDrive);
        StartedFrame started(true);
        // On the current folder's drive, which a path without a drive means.
        QTemporaryDir dir(QDir::currentPath() + "/shown-XXXXXX");
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        // A folder cannot be written as a file.
        QString path = dir.filePath(writable ? "shown.kxgf" : "folder");
        const QString shown = QDir::toNativeSeparators(path);
        if (withoutDrive)
            path = path.mid(2);  // "C:/..." -> "/..."
        started.files.savePaths.push_back(path.toStdString());
        started.frame->Menu()->mnuFileSaveAs->trigger();
        if (writable) {
            QCOMPARE(started.frame->MapHost().SubWindow()->windowTitle(), shown);
        } else {
            QCOMPARE(started.messages.Count(), 1);
            const QString text = QString::fromStdString(started.messages.Calls()[0].text);
            QVERIFY2(text.split('\n').contains(shown), qPrintable(text));
        }
    }

    void saveAsButtonAlwaysAsks()
    {
        StartedFrame started(true);
        MapModule::CurrentFileName = "/nonexistent/known.kxgf";
        started.frame->Toolbar3()->Button(3)->click();
        QCOMPARE(started.files.saveShown, 1);
        started.frame->Menu()->mnuFileSaveAs->trigger();
        QCOMPARE(started.files.saveShown, 2);
    }

    void openRejectedFileKeepsMapAndFlag()
    {
        StartedFrame started(true);
        QTemporaryDir dir;
        const QString bad = dir.filePath("bad.kxgf");
        QVERIFY(TestFiles::Write(bad, MapFileText::Lines({"kx-gridforge@ver1.00", "10,10", "0"})));
        MapModule::MapChanged = MapModule::True;
        MapModule::OwnerGrid.Set(3, 2);
        started.messages.Script({MessageAnswer::Yes, MessageAnswer::Ok});
        started.files.openPaths.push_back(bad.toStdString());
        started.frame->Toolbar3()->Button(2)->click();
        QCOMPARE(started.messages.CountOf("ヘッダーが違います・・・ロードを中止します"), 1);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QCOMPARE(MapModule::OwnerGrid.At(3), 2);
        QCOMPARE(MapModule::MapWidth, 20);
        QVERIFY(started.Map());
    }

    void openLoadsAndCaptionsTheMap()
    {
        StartedFrame started(true);
        QTemporaryDir dir;
        const QString good = dir.filePath("test.kxgf");
        QVERIFY(TestFiles::Write(good, MapFileText::Map(10, 12, 0, [](int s) { return s % 7; })));
        started.files.openPaths.push_back(good.toStdString());
        started.frame->Menu()->mnuFileOpen->trigger();
        QCOMPARE(MapModule::MapWidth, 10);
        QCOMPARE(MapModule::MapHeight, 12);
        QCOMPARE(started.frame->Toolbar2()->Label2()->text(), QString("Y:12"));
        QCOMPARE(started.frame->MapHost().SubWindow()->windowTitle(), QString("test.kxgf"));
        QCOMPARE(started.Map()->Cells().CellCount(), 120);
    }


    void closingFrameAsksTheMapWindow_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("No keeps everything") << int(MessageAnswer::No) << false;
        QTest::newRow("Yes closes") << int(MessageAnswer::Yes) << true;
    }
    void closingFrameAsksTheMapWindow()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        StartedFrame started(true);
        MapModule::MapChanged = MapModule::True;
        started.messages.Script({MessageAnswer(answer)});
        started.frame->Menu()->mnuFileExit->trigger();
        QCOMPARE(started.messages.CountOf("変更されていますが終了しますか?"), 1);
        QCOMPARE(started.frame->isVisible(), !closed);
        QCOMPARE(started.frame->MapHost().SubWindow() != nullptr, !closed);
    }

    void droppedFiles_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("levelText");  // the files hold a level text, not a map file
        QTest::newRow("one map file opens") << QStringList{"drop.kxgf"} << false << true << true << false;
        QTest::newRow("upper-case extension opens") << QStringList{"DROP.KXGF"} << false << true << true << false;
        QTest::newRow("changed map asks, No keeps it") << QStringList{"drop.kxgf"} << true << true << false << false;
        QTest::newRow("two files refused") << QStringList{"drop.kxgf", "other.kxgf"} << false << false << false << false;
        QTest::newRow("a map file of another name opens") << QStringList{"drop.txt"} << false << true << true << false;
        QTest::newRow("level text opens as a new map") << QStringList{"level.txt"} << false << true << true << true;
        QTest::newRow("level text on a changed map asks, No keeps it")
            << QStringList{"level.txt"} << true << true << false << true;
        QTest::newRow("a folder refused") << QStringList{"folder/"} << false << false << false << false;
    }
    void droppedFiles()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, changed);
        QFETCH(bool, accepted);
        QFETCH(bool, loaded);
        QFETCH(bool, levelText);
        StartedFrame started(true);
        QTemporaryDir dir;
        QList<QUrl> urls;
        const auto owners = [](int s) { return s % 7; };
        for (const QString& name : names) {
            if (name.endsWith('/'))
                QVERIFY(QDir(dir.path()).mkdir(name));
            else
                QVERIFY(TestFiles::Write(dir.filePath(name), levelText ? MapFileText::LevelFile(10, 11, owners)
                                                                       : MapFileText::Map(10, 11, 0, owners)));
            urls << QUrl::fromLocalFile(dir.filePath(name));
        }
        MapModule::MapChanged = changed ? MapModule::True : MapModule::False;
        started.messages.Script({MessageAnswer::No});
        QMimeData data;
        data.setUrls(urls);
        const QPoint centre = started.frame->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(started.frame.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(started.frame.get(), &drop);
        QCoreApplication::processEvents();
        QCOMPARE(started.messages.CountOf("変更されていますがドキュメントを閉じますか?"), accepted && changed ? 1 : 0);
        QCOMPARE(started.files.openShown, 0);
        QCOMPARE(MapModule::MapHeight, loaded ? 11 : 20);
        QCOMPARE(MapModule::OwnerGrid.At(108), loaded ? 3 : 0);
        // A level text is a new map: no file of its own, changed.
        const bool tied = loaded && !levelText;
        QCOMPARE(MapModule::CurrentFileName, tied ? dir.filePath(names[0]).toStdString() : std::string());
        QCOMPARE(MapModule::MapChanged, changed || (loaded && levelText) ? MapModule::True : MapModule::False);
        QCOMPARE(started.messages.Count(), accepted && changed ? 1 : 0);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_shell_filecommands.moc"
