#include "base/qt/ScreenTwips.h"
#include "document/OwnerTable.h"
#include "shell/FrameCommands.h"
#include "shell/FrameMenu.h"
#include "shell/LockCheckBox.h"
#include "shell/MainToolbar.h"
#include "shell/MapDataPanel.h"
#include "shell/OwnerToolbar.h"
#include "shell/TitleStrip.h"
#include "support/AccessibleLookup.h"
#include "support/StartedFrame.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

// The frame window itself: its start-up, bars, buttons, menus and the windows
// it opens once.
namespace {

bool NearColour(const QColor& seen, const QColor& wanted)
{
    return std::abs(seen.red() - wanted.red()) <= 24 && std::abs(seen.green() - wanted.green()) <= 24 &&
           std::abs(seen.blue() - wanted.blue()) <= 24;
}

#ifdef Q_OS_LINUX
// The image plugins the process has loaded, by file, from its memory map.
QStringList LoadedImagePlugins()
{
    QFile maps("/proc/self/maps");
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList plugins;
    for (const QByteArray& line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/"))
            plugins << QString::fromUtf8(line.mid(line.indexOf('/')));
    plugins.removeDuplicates();
    return plugins;
}
#endif
// The descriptions a screen reader was told had changed, by name of object.
QStringList describedChanges;
void RecordDescriptionChange(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::DescriptionChanged && event->accessibleInterface() != nullptr)
        describedChanges << event->accessibleInterface()->text(QAccessible::Name);
}

}  // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    // First, while nothing in this process has read a picture: up to the size
    // dialog on the screen no image plugin is loaded, and the plugin folders
    // of the whole program stay as Qt found them.
    void startUpLoadsNoImagePlugin()
    {
        const QStringList folders = QCoreApplication::libraryPaths();
        QVERIFY(!folders.isEmpty());
        frmMDI frame;
        frmMapSelect dialog(&frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();
        QCOMPARE(QCoreApplication::libraryPaths(), folders);
#ifdef Q_OS_LINUX
        QCOMPARE(LoadedImagePlugins(), QStringList());
#endif
    }

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

    void readerNames_data()
    {
        AddAccessibleColumns();
        const int button = QAccessible::Button;
        const int owner = QAccessible::CheckBox;
        QTest::newRow("new") << "Toolbar3Button1" << button << "新規作成" << "";
        QTest::newRow("open") << "Toolbar3Button2" << button << "開く" << "";
        QTest::newRow("save, a picture only") << "Toolbar3Button3" << button << "保存" << "";
        QTest::newRow("show data, a picture only") << "Toolbar3Button5" << button << "データの表示" << "";
        QTest::newRow("brush sizes, tied to their frame")
            << "BrushSize1" << int(QAccessible::ComboBox) << ListName("1", "ブラシサイズ") << "ブラシオプション";
        QTest::newRow("blank owner button") << "Toolbar1Button1" << button << "空き" << "";
        QTest::newRow("pointer") << "Toolbar1Button2" << owner << "ポインタ" << "";
        QTest::newRow("owner 1") << "Toolbar1Button3" << owner << "レジスタンス" << "";
        QTest::newRow("owner 6") << "Toolbar1Button8" << owner << "ゴアカフ" << "";
        QTest::newRow("owner 0, as the table names it") << "Toolbar1Button9" << owner << "ターゲット&非占領" << "";
        QTest::newRow("owner bar's ×") << "Command2" << button << "オーナーセレクトを閉じる" << "";
        QTest::newRow("panel's ×") << "Command1" << button << "マップデータの詳細を閉じる" << "";
        QTest::newRow("title strip") << "Picture1" << int(QAccessible::Client) << "MAP & DATA" << "";
        QTest::newRow("legend swatch")
            << "Shape1_5" << int(QAccessible::Graphic) << "ブラックセクトの色" << "マップインフォメーション";
        QTest::newRow("status bar") << "STBWindow" << int(QAccessible::StatusBar) << "ステータスバー" << "";
        // The bars by the names their menu items give them.
        const int bar = QAccessible::ToolBar;
        QTest::newRow("main bar") << "Toolbar3" << bar << "ツールバー" << "";
        QTest::newRow("owner bar") << "Toolbar1" << bar << "オーナーセレクト" << "";
        QTest::newRow("panel") << "Toolbar2" << bar << "マップデータの詳細" << "";
    }
    void readerNames()
    {
        StartedFrame started(true);
        VerifyAccessibleRow(*started.frame);
        // The status bar's parts are drawn: their text is read from the bar.
        QCOMPARE(FactsOf(*started.frame, "STBWindow").description, QStringLiteral("Gridforge First Release Version"));
    }

    void readerHearsOwnerAndBrush_data()
    {
        QTest::addColumn<int>("button");  // owner button pressed; 0: none
        QTest::addColumn<int>("brushPosition");  // -1: left at "1"
        QTest::addColumn<QString>("described");
        QTest::newRow("owner button 6") << 6 << -1 << "オーナー: ターカスト、ブラシサイズ: 1";
        QTest::newRow("pointer") << 2 << -1 << "オーナー: なし（ポインタ）、ブラシサイズ: 1";
        QTest::newRow("brush list at 3") << 0 << 2 << "オーナー: ターゲット&非占領、ブラシサイズ: 3";
    }
    void readerHearsOwnerAndBrush()
    {
        QFETCH(int, button);
        QFETCH(int, brushPosition);
        QFETCH(QString, described);
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("without an accessibility bridge no event is sent: the test tst_shell_frame_reader runs this");
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        StartedFrame started(true);
        QAccessible::installUpdateHandler(RecordDescriptionChange);
        describedChanges.clear();
        if (button > 0)
            started.frame->Toolbar1()->Button(button)->click();
        if (brushPosition >= 0)
            started.frame->Toolbar3()->BrushSize1()->setCurrentIndex(brushPosition);
        const QStringList changes = describedChanges;
        QAccessible::installUpdateHandler(nullptr);
        QCOMPARE(changes, QStringList{"マップ"});
        QVERIFY(FactsOf(*started.Map(), "").description.endsWith(described));
    }

    void ownerButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("owner");
        QTest::addColumn<bool>("byReader");  // a screen reader's action instead of a click
        QTest::newRow("pointer") << 2 << int(MapModule::OwnerNone) << false;
        QTest::newRow("button 3 is owner 1") << 3 << 1 << false;
        QTest::newRow("button 6 is owner 4") << 6 << 4 << false;
        QTest::newRow("button 8 is owner 6") << 8 << 6 << false;
        QTest::newRow("button 9 is owner 0") << 9 << 0 << false;
        QTest::newRow("button 6 checked by a reader") << 6 << 4 << true;
        QTest::newRow("pointer checked by a reader") << 2 << int(MapModule::OwnerNone) << true;
    }
    void ownerButtons()
    {
        QFETCH(int, button);
        QFETCH(int, owner);
        QFETCH(bool, byReader);
        StartedFrame started(true);
        if (button == 2 && byReader)
            started.frame->Toolbar1()->Button(3)->click();  // the pointer starts checked
        MapModule::CurrentOwner = 77;
        QToolButton* pressed = started.frame->Toolbar1()->Button(button);
        if (byReader)
            QAccessible::queryAccessibleInterface(pressed)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
        else
            pressed->click();
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
