#include "base/qt/ScreenTwips.h"
#include "dialogs/frmMapSelect.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "shell/CommandLine.h"
#include "shell/FrameCommands.h"
#include "shell/FrameMenu.h"
#include "shell/LockCheckBox.h"
#include "shell/MainToolbar.h"
#include "shell/MapDataPanel.h"
#include "shell/MapWindowHost.h"
#include "shell/OwnerToolbar.h"
#include "shell/TitleStrip.h"
#include "shell/frmMDI.h"
#include "support/FakeFileDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ModalAnswer.h"
#include "view/qt/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <fstream>
#include <memory>

namespace {

void PressButtonNamed(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(name);
    QVERIFY2(button, name);
    button->click();
}

bool NearColour(const QColor& seen, const QColor& wanted)
{
    return std::abs(seen.red() - wanted.red()) <= 24 && std::abs(seen.green() - wanted.green()) <= 24 &&
           std::abs(seen.blue() - wanted.blue()) <= 24;
}

// A map file of width x height sectors, owners 0..6 in turn.
void WriteMap(const QString& path, int width, int height)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray content = "KX-GRIDFORGE@VER1.00\r\n" + QByteArray::number(width) + "," + QByteArray::number(height) + "\r\n0\r\n";
    for (int s = 0; s < width * height; ++s)
        content += QByteArray::number(s % 7) + "\r\n";
    file.write(content);
}

// A frame that went through its start-up, with the size dialog confirmed
// (a 20 x 20 map) or cancelled, and fakes for message boxes and file dialogs.
// With a map file the start loads it; the size dialog may not come at all.
struct StartedFrame {
    std::unique_ptr<frmMDI> frame;
    FakeMessageBox messages;
    FakeFileDialog files;
    bool sizeDialogShown = false;

    explicit StartedFrame(bool confirm, const QString& mapFile = QString())
    {
        MapModule::ResetDocument();
        frame = std::make_unique<frmMDI>(FrameDialogs{&messages, &files});
        WhenModalShows(frame.get(), [this, confirm](QWidget* dialog) {
            sizeDialogShown = qobject_cast<frmMapSelect*>(dialog) != nullptr;
            PressButtonNamed(dialog, confirm ? "Command1" : "Command2");
        });
        frame->Load(mapFile);
        frame->show();
    }
    ~StartedFrame()
    {
        MapModule::MapChanged = MapModule::False;
        frame.reset();
        MapModule::ResetDocument();
    }
    frmMain* Map() const { return frame->MapHost().MapWindow(); }
};

}  // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void startUpCancelled()
    {
        StartedFrame started(false);
        frmMDI& frame = *started.frame;
        QVERIFY(frame.MapHost().SubWindow() == nullptr);
        QCOMPARE(frame.Toolbar2()->Label1()->text(), QString("X:"));
        QCOMPARE(frame.Toolbar2()->Label2()->text(), QString("Y:"));
        QVERIFY(!frame.Toolbar3()->Button(3)->isEnabled());
        QVERIFY(!frame.Toolbar3()->Button(5)->isEnabled());
        QVERIFY(frame.Toolbar2()->Command3()->isEnabled());
        QVERIFY(!frame.Toolbar1()->Button(1)->isEnabled());
        QVERIFY(frame.Toolbar1()->Button(2)->isChecked());
        QCOMPARE(frame.Toolbar3()->BrushSize1()->count(), 5);
        QCOMPARE(frame.Toolbar3()->BrushSize1()->currentText(), QString("1"));
        QCOMPARE(frame.BrushSizePosition(), 0);
        QCOMPARE(frame.Toolbar2()->Label3(0)->text(), QString("ターゲット&非占領土"));
        QCOMPARE(frame.Toolbar2()->Label3(6)->text(), QString("ゴアカフ"));
        QCOMPARE(MapModule::MapWidth, 0);
        for (int owner = 0; owner < OwnerCount; ++owner) {
            const QImage swatch = frame.Toolbar2()->Swatch(owner)->grab().toImage();
            const ColorWord legend = OwnerTable[owner].legendColor;
            QCOMPARE(QColor(swatch.pixel(swatch.width() / 2, swatch.height() / 2)),
                     QColor(legend.Red(), legend.Green(), legend.Blue()));
            QCOMPARE(QColor(swatch.pixel(0, 0)), QColor(Qt::black));
        }
    }

    void titleStripShowsItsText()
    {
        StartedFrame started(false);
        const QImage strip = started.frame->Toolbar2()->Picture1()->Image().toImage();
        const QColor background(0, 84, 227);
        int textPixels = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                if (QColor(strip.pixel(x, y)) != background)
                    ++textPixels;
        QVERIFY2(textPixels > 30, qPrintable(QString::number(textPixels)));
        // The text starts at 920 twips (61 pixels): nothing is drawn left of it.
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < 60; ++x)
                QCOMPARE(QColor(strip.pixel(x, y)), background);
    }

    // Each coloured text or strip, grabbed as drawn: pixels of its colour (text
    // is smoothed, so a stroke's core is within a few steps of it). A frame is
    // counted in its caption's line only.
    void drawnColours_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("atLeast");
        QTest::addColumn<bool>("captionOnly");
        const QColor blue(0, 0, 255);
        const QColor caption(0, 84, 227);
        const QColor highlight(0, 120, 215);
        QTest::newRow("Label1 X: blue") << "Label1" << blue << 10 << false;
        QTest::newRow("Label2 Y: blue") << "Label2" << blue << 10 << false;
        QTest::newRow("Label4 lock note highlight") << "Label4" << highlight << 40 << false;
        QTest::newRow("Picture2 strip caption colour") << "Picture2" << caption << 200 << false;
        QTest::newRow("Picture1 strip caption colour") << "Picture1" << caption << 200 << false;
        QTest::newRow("Frame1 caption") << "Frame1" << caption << 8 << true;
        QTest::newRow("Frame3 caption") << "Frame3" << caption << 8 << true;
    }
    void drawnColours()
    {
        QFETCH(QString, widget);
        QFETCH(QColor, colour);
        QFETCH(int, atLeast);
        QFETCH(bool, captionOnly);
        StartedFrame started(true);
        auto* target = started.frame->findChild<QWidget*>(widget);
        QVERIFY(target);
        const QImage image = target->grab().toImage();
        const int rows = captionOnly ? target->fontMetrics().height() : image.height();
        int count = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < image.width(); ++x)
                count += NearColour(image.pixelColor(x, y), colour) ? 1 : 0;
        QVERIFY2(count >= atLeast, qPrintable(QString("%1 pixels").arg(count)));
    }

    // Sizes of the bars and places of their controls, in twips, relative to
    // the bar named (a bar's own row checks its size; -1: left to the layout).
    void barGeometry_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Toolbar3 is 795 high") << "Toolbar3" << "" << QRect(0, 0, -1, 795);
        QTest::newRow("Toolbar1 is 570 wide") << "Toolbar1" << "" << QRect(0, 0, 570, -1);
        QTest::newRow("Toolbar2 is 3015 wide") << "Toolbar2" << "" << QRect(0, 0, 3015, -1);
        QTest::newRow("Frame4") << "Frame4" << "Toolbar3" << QRect(4320, 0, 2175, 735);
        QTest::newRow("BrushSize1") << "BrushSize1" << "Toolbar3" << QRect(4320 + 240, 280, 1695, 300);
        QTest::newRow("Picture2") << "Picture2" << "Toolbar1" << QRect(0, 0, 570, 255);
        QTest::newRow("Picture1") << "Picture1" << "Toolbar2" << QRect(0, 0, 3015, 255);
        QTest::newRow("Command1") << "Command1" << "Toolbar2" << QRect(2760, 0, 255, 255);
        QTest::newRow("Frame1") << "Frame1" << "Toolbar2" << QRect(120, 480, 2775, 3735);
        QTest::newRow("Label1") << "Label1" << "Toolbar2" << QRect(120 + 720, 480 + 480, -1, 180);
        QTest::newRow("Frame2") << "Frame2" << "Toolbar2" << QRect(120, 4320, 2655, 1935);
        QTest::newRow("Command4") << "Command4" << "Toolbar2" << QRect(120 + 120 + 240, 4320 + 240 + 960, 1935, 495);
        QTest::newRow("Frame3") << "Frame3" << "Toolbar2" << QRect(120, 6360, 2775, 1695);
        QTest::newRow("Label4") << "Label4" << "Toolbar2" << QRect(120 + 480, 6360 + 720, 1965, 780);
    }
    void barGeometry()
    {
        QFETCH(QString, widget);
        QFETCH(QString, bar);
        QFETCH(QRect, twips);
        StartedFrame started(true);
        auto* target = started.frame->findChild<QWidget*>(widget);
        QVERIFY(target);
        const QRect expected = Twips::ToPixels(twips, Twips::ScreenPerPixel(target));
        if (!bar.isEmpty())
            QCOMPARE(target->mapTo(started.frame->findChild<QWidget*>(bar), QPoint(0, 0)), expected.topLeft());
        if (twips.width() >= 0)
            QCOMPARE(target->width(), expected.width());
        if (twips.height() >= 0)
            QCOMPARE(target->height(), expected.height());
    }

    void startUpConfirmedBuildsMapBeforeBrushList()
    {
        MapModule::ResetDocument();
        FakeMessageBox messages;
        frmMDI frame(FrameDialogs{&messages, nullptr});
        int brushItemsWhenMapBuilt = -1;
        bool mapBuilt = false;
        WhenModalShows(&frame, [&](QWidget* dialog) {
            PressButtonNamed(dialog, "Command1");
            mapBuilt = frame.MapHost().SubWindow() != nullptr;
            brushItemsWhenMapBuilt = frame.Toolbar3()->BrushSize1()->count();
        });
        frame.Load();
        QVERIFY(mapBuilt);
        QCOMPARE(brushItemsWhenMapBuilt, 0);
        QCOMPARE(MapModule::MapWidth, 20);
        QCOMPARE(MapModule::MapHeight, 20);
        QCOMPARE(frame.Toolbar2()->Label1()->text(), QString("X:20"));
        QCOMPARE(frame.Toolbar2()->Label2()->text(), QString("Y:20"));
        QVERIFY(frame.Toolbar3()->Button(3)->isEnabled());
        QVERIFY(frame.Toolbar3()->Button(5)->isEnabled());
        QVERIFY(frame.isVisible());
        MapModule::ResetDocument();
    }

    void mainToolbarButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("followsMap");
        QTest::newRow("1 new") << 1 << "新規作成" << "new" << false;
        QTest::newRow("2 open") << 2 << "開く" << "open" << false;
        QTest::newRow("3 save as") << 3 << "保存" << "save" << true;
        QTest::newRow("5 show data") << 5 << "データの表示" << "data" << true;
    }
    void mainToolbarButtons()
    {
        QFETCH(int, button);
        QFETCH(QString, tip);
        QFETCH(QString, picture);
        QFETCH(bool, followsMap);
        StartedFrame started(true);
        const QToolButton* shown = started.frame->Toolbar3()->Button(button);
        QCOMPARE(shown->toolTip(), tip);
        // The picture, and the brighter one while the pointer is over it.
        const auto image = [](const QPixmap& pixmap) {
            return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        };
        QCOMPARE(image(shown->icon().pixmap(32, QIcon::Normal)), image(QPixmap(":/icons/" + picture + ".png")));
        QCOMPARE(image(shown->icon().pixmap(32, QIcon::Active)), image(QPixmap(":/icons/" + picture + "_hot.png")));
        // When the map window closes, the map's buttons go grey; the menu's
        // items for the same commands stay usable.
        QVERIFY(shown->isEnabled());
        started.frame->SetMapCommandsEnabled(false);
        QCOMPARE(shown->isEnabled(), !followsMap);
        QVERIFY(started.frame->Menu()->mnuFileSaveAs->isEnabled());
        QVERIFY(started.frame->Menu()->mnuFileToolShowData->isEnabled());
    }

    void ownerButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("owner");
        QTest::newRow("pointer") << 2 << int(MapModule::OwnerNone);
        QTest::newRow("button 3 is owner 1") << 3 << 1;
        QTest::newRow("button 6 is owner 4") << 6 << 4;
        QTest::newRow("button 8 is owner 6") << 8 << 6;
        QTest::newRow("button 9 is owner 0") << 9 << 0;
    }
    void ownerButtons()
    {
        QFETCH(int, button);
        QFETCH(int, owner);
        StartedFrame started(true);
        MapModule::CurrentOwner = 77;
        started.frame->Toolbar1()->Button(button)->click();
        QCOMPARE(MapModule::CurrentOwner, owner);
        QVERIFY(started.frame->Toolbar1()->Button(button)->isChecked());
    }

    void firstPressPaintsOwnerZeroAlthoughPointerShown()
    {
        StartedFrame started(true);
        frmMain* map = started.Map();
        QVERIFY(map);
        QVERIFY(started.frame->Toolbar1()->Button(2)->isChecked());
        MapModule::OwnerGrid.Set(0, 5);
        const QPoint centre = map->CellRectPixels(0).center();
        QTest::mouseClick(map, Qt::LeftButton, {}, centre);
        QCOMPARE(MapModule::OwnerGrid.At(0), 0);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
    }

    void brushSizeComesFromTheList()
    {
        StartedFrame started(true);
        started.frame->Toolbar1()->Button(4)->click();  // owner 2
        started.frame->Toolbar3()->BrushSize1()->setCurrentIndex(2);  // "3"
        frmMain* map = started.Map();
        QTest::mouseClick(map, Qt::LeftButton, {}, map->CellRectPixels(18).center());
        for (int sector : {18, 19, 20, 38, 39, 40})
            QCOMPARE(MapModule::OwnerGrid.At(sector), 2);
        QCOMPARE(MapModule::OwnerGrid.At(21), 0);
    }

    void barToggles_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("bar");
        QTest::newRow("main toolbar") << "mnuVisualBar" << "Toolbar3";
        QTest::newRow("map data panel") << "mnuVisualMapDataIs" << "Toolbar2";
        QTest::newRow("owner toolbar") << "mnuVisualOwnSelect" << "Toolbar1";
    }
    void barToggles()
    {
        QFETCH(QString, item);
        QFETCH(QString, bar);
        StartedFrame started(false);
        auto* action = started.frame->findChild<QAction*>(item);
        auto* toolbar = started.frame->findChild<QToolBar*>(bar);
        QVERIFY(action && toolbar);
        QVERIFY(action->isChecked());
        QVERIFY(!toolbar->isHidden());
        action->trigger();
        QVERIFY(!action->isChecked());
        QVERIFY(toolbar->isHidden());
        action->trigger();
        QVERIFY(action->isChecked());
        QVERIFY(!toolbar->isHidden());
    }

    void closeButtonsHideTheirBar_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("item");
        QTest::newRow("map data panel") << "Toolbar2" << "mnuVisualMapDataIs";
        QTest::newRow("owner toolbar") << "Toolbar1" << "mnuVisualOwnSelect";
    }
    void closeButtonsHideTheirBar()
    {
        QFETCH(QString, bar);
        QFETCH(QString, item);
        StartedFrame started(false);
        auto* toolbar = started.frame->findChild<QToolBar*>(bar);
        auto* action = started.frame->findChild<QAction*>(item);
        auto* close = toolbar->findChild<QPushButton*>(bar == "Toolbar2" ? "Command1" : "Command2");
        QVERIFY(close);
        close->click();
        QVERIFY(toolbar->isHidden());
        QVERIFY(!action->isChecked());
        action->trigger();
        QVERIFY(!toolbar->isHidden());
        QVERIFY(action->isChecked());
    }

    void statusBarItemDoesNothing()
    {
        StartedFrame started(false);
        QAction* item = started.frame->Menu()->mnuVisualStausBar;
        QVERIFY(!item->isEnabled());
        QVERIFY(item->isChecked());
        item->trigger();
        QVERIFY(item->isChecked());
    }

    void menuCaptionsAndShortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("new") << "mnuFileNew" << "新規作成(&N)..." << "Ctrl+N";
        QTest::newRow("open") << "mnuFileOpen" << "開く(&O)..." << "Ctrl+O";
        QTest::newRow("save") << "mnuFileSave" << "上書き保存(&S)" << "";
        QTest::newRow("save as") << "mnuFileSaveAs" << "名前をつけて保存(&A)..." << "Ctrl+S";
        QTest::newRow("exit") << "mnuFileExit" << "終了(&E)" << "";
        QTest::newRow("show data") << "mnuFileToolShowData" << "データの表示(&S)..." << "";
        QTest::newRow("map data") << "mnuVisualMapDataIs" << "マップデータの詳細の表示&&非表示(I)" << "";
        QTest::newRow("about") << "mnuHelpAbout" << "このプログラムについて(&A)..." << "";
    }
    void menuCaptionsAndShortcuts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        StartedFrame started(false);
        auto* action = started.frame->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(), shortcut);
    }

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
        std::ifstream in(path, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), {});
        QVERIFY(content.starts_with("KX-GRIDFORGE@VER1.00\r\n20,20\r\n0\r\n6\r\n"));
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
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kx-gridforge@ver1.00\r\n10,10\r\n0\r\n");
        file.close();
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
        QFile file(good);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray content = "KX-GRIDFORGE@VER1.00\r\n10,12\r\n0\r\n";
        for (int s = 0; s < 120; ++s)
            content += QByteArray::number(s % 7) + "\r\n";
        file.write(content);
        file.close();
        started.files.openPaths.push_back(good.toStdString());
        started.frame->Menu()->mnuFileOpen->trigger();
        QCOMPARE(MapModule::MapWidth, 10);
        QCOMPARE(MapModule::MapHeight, 12);
        QCOMPARE(started.frame->Toolbar2()->Label2()->text(), QString("Y:12"));
        QCOMPARE(started.frame->MapHost().SubWindow()->windowTitle(), QString("test.kxgf"));
        QCOMPARE(started.Map()->Cells().CellCount(), 120);
    }

    void lockBoxLocksTheRing()
    {
        StartedFrame started(true);
        MapModule::OwnerGrid.Set(0, 3);
        MapModule::OwnerGrid.Set(21, 3);
        LockCheckBox* check = started.frame->Toolbar2()->Check1();
        check->click();
        QCOMPARE(check->Value(), 1);
        QCOMPARE(MapModule::OwnerGrid.At(0), 0);
        QCOMPARE(MapModule::OwnerGrid.At(21), 3);
        QCOMPARE(started.Map()->Cells().CellFillStyle(0), CellPort::FillLocked);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        check->click();
        QCOMPARE(check->Value(), 0);
        QCOMPARE(started.Map()->Cells().CellFillStyle(0), CellPort::FillSolid);
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

    void commandLine_data()
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
    void commandLine()
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
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("map file opens instead of the size dialog") << QByteArray("KX-GRIDFORGE@VER1.00") << true;
        QTest::newRow("refused file: its message, then the size dialog") << QByteArray("not a map") << false;
    }
    void startWithMapFile()
    {
        QFETCH(QByteArray, header);
        QFETCH(bool, loaded);
        QTemporaryDir dir;
        const QString path = dir.filePath("start.kxgf");
        WriteMap(path, 12, 15);
        if (!loaded) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(header + "\r\n12,15\r\n0\r\n");
        }
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

    void droppedFiles_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("one map file opens") << QStringList{"drop.kxgf"} << false << true << true;
        QTest::newRow("upper-case extension opens") << QStringList{"DROP.KXGF"} << false << true << true;
        QTest::newRow("changed map asks, No keeps it") << QStringList{"drop.kxgf"} << true << true << false;
        QTest::newRow("two files refused") << QStringList{"drop.kxgf", "other.kxgf"} << false << false << false;
        QTest::newRow("other extension refused") << QStringList{"drop.txt"} << false << false << false;
    }
    void droppedFiles()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, changed);
        QFETCH(bool, accepted);
        QFETCH(bool, loaded);
        StartedFrame started(true);
        QTemporaryDir dir;
        QList<QUrl> urls;
        for (const QString& name : names) {
            WriteMap(dir.filePath(name), 10, 11);
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
        QCOMPARE(MapModule::CurrentFileName, loaded ? dir.filePath(names[0]).toStdString() : std::string());
    }

    void dataViewerAndAboutBoxExistOnce()
    {
        StartedFrame started(true);
        FrameCommands* commands = started.frame->Commands();
        started.frame->Toolbar2()->Command3()->click();
        QWidget* viewer = static_cast<QWidget*>(commands->DataViewer());
        QVERIFY(viewer);
        started.frame->Menu()->mnuFileToolShowData->trigger();
        QCOMPARE(static_cast<QWidget*>(commands->DataViewer()), viewer);
        started.frame->Toolbar3()->Button(5)->click();
        QCOMPARE(static_cast<QWidget*>(commands->DataViewer()), viewer);
        started.frame->Menu()->mnuHelpAbout->trigger();
        QWidget* about = static_cast<QWidget*>(commands->AboutBox());
        QVERIFY(about);
        started.frame->Menu()->mnuHelpAbout->trigger();
        QCOMPARE(static_cast<QWidget*>(commands->AboutBox()), about);
        viewer->close();
        about->close();
    }
};

QTEST_MAIN(TestFrame)
#include "tst_shell_frame.moc"
