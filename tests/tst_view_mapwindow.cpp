#include "document/MapModule.h"
#include "document/MapWindowCycle.h"
#include "document/OwnerReplace.h"
#include "document/OwnerTable.h"
#include "support/FakeLockBox.h"
#include "support/FakeMessageBox.h"
#include "support/ViewFakeFrame.h"
#include "view/SectorPainter.h"
#include "view/qt/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(MessageAnswer)

namespace {


QColor Rgb(ColorWord color) { return QColor(color.Red(), color.Green(), color.Blue()); }

int CountPixels(const QImage& image, const QRect& rect, const QColor& color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixelColor(x, y).rgb() == color.rgb();
    return count;
}

}  // namespace

class TestMapWindow : public QObject {
    Q_OBJECT
private:
    ViewFakeFrame frame_;
    FakeLockBox lockBox_;
    FakeMessageBox* messages_ = nullptr;
    MapWindowContext context_;
    QMdiArea* area_ = nullptr;

    // A built map window inside a sub-window of the MDI area, as the frame hosts it.
    frmMain* OpenMap(int width, int height)
    {
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        auto* map = new frmMain(context_);
        area_->addSubWindow(map);
        map->show();
        if (!map->Build())
            return nullptr;
        MapModule::MapWindowBuilt();
        return map;
    }
    // The centre of a sector's cell in pixels.
    static QPoint Centre(const frmMain& map, int sector) { return map.CellRectPixels(sector).center(); }

private slots:
    void init()
    {
        MapModule::ResetDocument();
        frame_ = ViewFakeFrame{};
        lockBox_.Preset(0);
        messages_ = new FakeMessageBox;
        MapModule::Ports().lockBox = &lockBox_;
        context_ = {&frame_, messages_, &MapModule::Ports().cells};
        SectorPainter::PointerPressed = false;
        area_ = new QMdiArea;
        area_->resize(1000, 1000);
        area_->show();
        QVERIFY(QTest::qWaitForWindowExposed(area_));
    }
    void cleanup()
    {
        delete area_;
        delete messages_;
        QCOMPARE(MapModule::Ports().cells, nullptr);
    }

    void outerSizeFollowsLastCell_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("outerTwips");
        QTest::newRow("10x10") << 10 << 10 << QSize(1890, 2430);
        QTest::newRow("50x50") << 50 << 50 << QSize(7290, 7830);
        QTest::newRow("20x35") << 20 << 35 << QSize(3240, 5805);
    }
    void outerSizeFollowsLastCell()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QSize, outerTwips);
        frmMain* map = OpenMap(width, height);
        QVERIFY(map);
        const double twips = map->TwipsPerPixel();
        const QSize expected(int(std::nearbyint(outerTwips.width() / twips)),
                             int(std::nearbyint(outerTwips.height() / twips)));
        QCOMPARE(map->parentWidget()->size(), expected);
        QCOMPARE(map->Cells().CellCount(), width * height);
        QCOMPARE(MapModule::Ports().cells, &map->Cells());
        QCOMPARE(map->windowTitle(), QString("Gridforge First Release Edition"));
        QCOMPARE(frame_.label2, "Y:" + std::to_string(height));
        QVERIFY(frame_.CommandsEnabled());
        // The last cell lies inside the client area.
        QVERIFY(map->rect().contains(map->CellRectPixels(width * height - 1)));
    }

    void pressPaintsCellUnderPointer_data()
    {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("painted");
        // At 15 twips per pixel cell k of a 10x10 map spans pixels (k%10+2)*9 to +8.
        QTest::newRow("first cell") << QPoint(19, 19) << Qt::LeftButton << 0;
        QTest::newRow("grid's left edge") << QPoint(18, 19) << Qt::LeftButton << -1;
        QTest::newRow("boundary belongs to the left cell") << QPoint(27, 19) << Qt::LeftButton << 0;
        QTest::newRow("one pixel right of the boundary") << QPoint(28, 19) << Qt::LeftButton << 1;
        QTest::newRow("right button") << QPoint(50, 50) << Qt::RightButton << 33;
        QTest::newRow("below the grid") << QPoint(50, 150) << Qt::MiddleButton << 93;
    }
    void pressPaintsCellUnderPointer()
    {
        QFETCH(QPoint, pixel);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, painted);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        if (!qFuzzyCompare(map->TwipsPerPixel(), 15.0))
            QSKIP("pixel rows are laid out for 96 dpi");
        MapModule::CurrentOwner = 1;

        QTest::mousePress(map, button, {}, pixel);
        QVERIFY(SectorPainter::PointerPressed);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        for (int k = 0; k < 100; ++k) {
            const bool hit = k == painted;
            QCOMPARE(MapModule::OwnerGrid.At(k), hit ? 1 : 0);
            QCOMPARE(map->Cells().Cell(k).fillColor, OwnerTable[hit ? 1 : 0].cellColor);
        }
        QTest::mouseRelease(map, button, {}, pixel);
        QVERIFY(!SectorPainter::PointerPressed);
    }

    void pressRepaintsOnlyChangedCells_data()
    {
        QTest::addColumn<int>("brushPosition");
        QTest::addColumn<int>("repainted");
        QTest::newRow("brush 1: one cell") << 0 << 1;
        QTest::newRow("brush 5: the 5 x 2 block") << 4 << 10;
    }
    void pressRepaintsOnlyChangedCells()
    {
        QFETCH(int, brushPosition);
        QFETCH(int, repainted);
        frmMain* map = OpenMap(50, 50);
        QVERIFY(map);
        QTest::mouseClick(map, Qt::LeftButton, {}, Centre(*map, 0));  // activates the window
        QApplication::processEvents();
        frame_.brushPosition = brushPosition;
        MapModule::CurrentOwner = 2;
        QTest::mouseClick(map, Qt::LeftButton, {}, Centre(*map, 25 * 50 + 25));
        QApplication::processEvents();
        QCOMPARE(map->LastPaintedCells(), repainted);
    }

    void dragPaintsUntilRelease()
    {
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::CurrentOwner = 4;
        QTest::mousePress(map, Qt::LeftButton, {}, Centre(*map, 11));
        for (int k = 12; k <= 16; ++k)
            QTest::mouseMove(map, Centre(*map, k));
        QTest::mouseRelease(map, Qt::LeftButton, {}, Centre(*map, 16));
        QTest::mouseMove(map, Centre(*map, 17));
        QMouseEvent move(QEvent::MouseMove, Centre(*map, 18), map->mapToGlobal(Centre(*map, 18)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(map, &move);

        for (int k = 0; k < 100; ++k)
            QCOMPARE(MapModule::OwnerGrid.At(k), k >= 11 && k <= 16 ? 4 : 0);
    }

    void moveWithoutPressChangesNothing()
    {
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::CurrentOwner = 2;
        QMouseEvent move(QEvent::MouseMove, Centre(*map, 5), map->mapToGlobal(Centre(*map, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(map, &move);
        QCOMPARE(MapModule::OwnerGrid.At(5), 0);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    void dragFromLockedCellPaintsWhatItCrosses()
    {
        lockBox_.Preset(1);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::CurrentOwner = 3;
        QTest::mousePress(map, Qt::LeftButton, {}, Centre(*map, 10));
        QCOMPARE(MapModule::MapChanged, MapModule::False);
        QTest::mouseMove(map, Centre(*map, 11));
        QTest::mouseRelease(map, Qt::LeftButton, {}, Centre(*map, 11));
        QCOMPARE(MapModule::OwnerGrid.At(10), 0);
        QCOMPARE(MapModule::OwnerGrid.At(11), 3);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
    }

    // The sector cursor shows once the keyboard has used it, on top of the
    // cells; a press of the pointer takes it away, leaving exactly the
    // picture of the pointer alone.
    void cursorShowsForTheKeyboardOnly_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("press");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<QList<int>>("chosen");
        QTest::newRow("untouched") << QList<int>{} << false << false << QList<int>{};
        QTest::newRow("a digit chooses, the cursor stays hidden") << QList<int>{Qt::Key_3} << false << false
                                                                  << QList<int>{3};
        QTest::newRow("arrows show it") << QList<int>{Qt::Key_Right, Qt::Key_Down} << false << true << QList<int>{};
        QTest::newRow("Space shows it") << QList<int>{Qt::Key_Space} << false << true << QList<int>{};
        QTest::newRow("a press hides it") << QList<int>{Qt::Key_Right, Qt::Key_Down} << true << true << QList<int>{};
    }
    void cursorShowsForTheKeyboardOnly()
    {
        QFETCH(QList<int>, keys);
        QFETCH(bool, press);
        QFETCH(bool, drawn);
        QFETCH(QList<int>, chosen);
        frmMain* pointerOnly = OpenMap(10, 10);
        QVERIFY(pointerOnly);
        MapModule::CurrentOwner = 1;
        const QPoint at = Centre(*pointerOnly, 55);
        QTest::mouseClick(pointerOnly, Qt::LeftButton, {}, at);
        const QImage expected = pointerOnly->grab().toImage();
        delete pointerOnly->parentWidget();

        frmMain* map = OpenMap(10, 10);
        map->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(map));
        const QImage untouched = map->grab().toImage();
        for (int key : keys)
            QTest::keyClick(map, Qt::Key(key));
        QCOMPARE(map->Keyboard().CursorDrawn(), drawn);
        QCOMPARE(QList<int>(frame_.chosenOwners.begin(), frame_.chosenOwners.end()), chosen);
        const QImage seen = map->grab().toImage();
        const QRect ring = map->Keyboard().CursorRect();
        QCOMPARE(seen.pixelColor(ring.topLeft()) == QColor(Qt::black), drawn);
        if (press) {
            QTest::mouseClick(map, Qt::LeftButton, {}, at);
            QVERIFY(!map->Keyboard().CursorDrawn());
            QCOMPARE(map->grab().toImage(), expected);
        } else if (!drawn && !keys.contains(Qt::Key_Space)) {
            QCOMPARE(seen, untouched);
        }
    }

    void closeAsksWhileChanged_data()
    {
        QTest::addColumn<bool>("press");
        QTest::addColumn<int>("owner");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closes");
        QTest::newRow("unchanged closes without asking") << false << 1 << MessageAnswer::No << false << true;
        QTest::newRow("painted, Yes") << true << 1 << MessageAnswer::Yes << true << true;
        QTest::newRow("painted, No") << true << 1 << MessageAnswer::No << true << false;
        QTest::newRow("pointer tool press, No") << true << int(MapModule::OwnerNone) << MessageAnswer::No << true
                                                << false;
        QTest::newRow("pointer tool press, Yes") << true << int(MapModule::OwnerNone) << MessageAnswer::Yes << true
                                                 << true;
    }
    void closeAsksWhileChanged()
    {
        QFETCH(bool, press);
        QFETCH(int, owner);
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closes);
        QPointer<frmMain> map = OpenMap(10, 10);
        QVERIFY(map);
        QPointer<QWidget> sub = map->parentWidget();
        MapModule::CurrentOwner = owner;
        if (press)
            QTest::mouseClick(map, Qt::LeftButton, {}, Centre(*map, 44));
        messages_->Script({answer});

        QCOMPARE(map->CloseWindow(), closes);

        QCOMPARE(messages_->Count(), asked ? 1 : 0);
        if (asked) {
            const FakeMessageBox::Call& call = messages_->Calls().front();
            QCOMPARE(QString::fromStdString(call.text), QString::fromUtf8("変更されていますが終了しますか?"));
            QCOMPARE(QString::fromStdString(call.title), QString::fromUtf8("終了"));
            QVERIFY(call.buttons == MessageButtons::YesNo);
            QVERIFY(call.icon == MessageIcon::Question);
            QVERIFY(call.defaultButton == MessageAnswer::Yes);
        }
        QCOMPARE(frame_.CommandsEnabled(), !closes);
        if (closes) {
            QCOMPARE(MapModule::MapChanged, MapModule::False);
            QCOMPARE(MapModule::Ports().cells, nullptr);
            QTRY_VERIFY(sub.isNull());
            QVERIFY(map.isNull());
        } else {
            QVERIFY(sub->isVisible());
            QCOMPARE(MapModule::MapChanged, MapModule::True);
            QCOMPARE(MapModule::Ports().cells, &map->Cells());
            if (owner == 1)
                QCOMPARE(map->Cells().Cell(44).fillColor, OwnerTable[1].cellColor);
            MapModule::MapChanged = MapModule::False;  // let cleanup close it
        }
    }

    void failedBuildReportsAndCloses_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("width 0") << 0 << 10;
        QTest::newRow("height 0") << 20 << 0;
        QTest::newRow("too many sectors") << 60 << 60;
    }
    void failedBuildReportsAndCloses()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        QPointer<frmMain> map = new frmMain(context_);
        QPointer<QMdiSubWindow> sub = area_->addSubWindow(map);
        map->show();

        QVERIFY(!map->Build());

        QCOMPARE(messages_->Count(), 1);
        const FakeMessageBox::Call& call = messages_->Calls().front();
        QCOMPARE(call.text, std::string("Map size was very small!! Load is so bad...\r\n"
                                        "Please select File->New... and select the Mapsize"));
        QCOMPARE(call.title, std::string("ERROR"));
        QVERIFY(call.buttons == MessageButtons::Ok);
        QVERIFY(call.icon == MessageIcon::Error);
        QVERIFY(!frame_.CommandsEnabled());
        QVERIFY(!frame_.commandSwitches.empty());
        QCOMPARE(MapModule::Ports().cells, nullptr);
        QTRY_VERIFY(sub.isNull());
    }

    void paintShowsCellsHatchAndBorder()
    {
        lockBox_.Preset(1);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::CurrentOwner = 1;
        QTest::mouseClick(map, Qt::LeftButton, {}, Centre(*map, 44));
        map->Cells().SetCellBorderStyle(55, CellPort::BorderSolid);
        map->Cells().SetCellBorderWidth(55, 1);
        const QImage image = map->grab().toImage();

        const QColor orange = Rgb(OwnerTable[0].cellColor);
        const QColor blue = Rgb(OwnerTable[1].cellColor);
        const QColor black(Qt::black);
        const QRect painted = map->CellRectPixels(44);
        QCOMPARE(CountPixels(image, painted, blue), painted.width() * painted.height());
        const QRect plain = map->CellRectPixels(45);
        QCOMPARE(CountPixels(image, plain, orange), plain.width() * plain.height());
        const QRect locked = map->CellRectPixels(0);
        const int hatch = CountPixels(image, locked, black);
        QVERIFY2(hatch > 0 && CountPixels(image, locked, orange) == locked.width() * locked.height() - hatch,
                 "a locked cell shows orange with black hatch lines");
        const QRect bordered = map->CellRectPixels(55);
        QCOMPARE(image.pixelColor(bordered.topLeft()), black);
        QCOMPARE(image.pixelColor(bordered.bottomRight()), black);
        QCOMPARE(image.pixelColor(bordered.center()), orange);
    }

    void replaceQuestionOutlinesAskedCell_data()
    {
        QTest::addColumn<int>("sector");
        QTest::newRow("top-left cell") << 0;
        QTest::newRow("inner cell") << 44;
        QTest::newRow("bottom-right cell") << 99;
    }
    void replaceQuestionOutlinesAskedCell()
    {
        QFETCH(int, sector);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::Ports().messages = messages_;
        MapModule::OwnerGrid.Set(sector, 2);  // the one sector asked about
        const QRect cell = map->CellRectPixels(sector);
        const QRect inner = cell.adjusted(2, 2, -2, -2);
        const QColor black(Qt::black);
        int asked = 0;
        messages_->OnShow([&](const FakeMessageBox::Call& call) {
            if (call.text != "置換しますか?")
                return;
            ++asked;
            const QImage image = map->grab().toImage();
            // Two solid pixels on every side, nothing outside the cell.
            QCOMPARE(CountPixels(image, cell, black), cell.width() * cell.height() - inner.width() * inner.height());
            QCOMPARE(CountPixels(image, inner, Rgb(OwnerTable[0].cellColor)), inner.width() * inner.height());
            QCOMPARE(CountPixels(image, cell.adjusted(-1, -1, 1, 1), black), CountPixels(image, cell, black));
        });
        messages_->Script({MessageAnswer::Yes});

        MapModule::ReplaceOwnerEach(2, 3);

        QCOMPARE(asked, 1);
        const QImage after = map->grab().toImage();
        QCOMPARE(CountPixels(after, cell, Rgb(OwnerTable[3].cellColor)), cell.width() * cell.height());
    }

    void resizeRepaintsBackground()
    {
        MapModule::MapWidth = 10;
        MapModule::MapHeight = 10;
        frmMain grown(context_);
        QVERIFY(grown.Build());
        grown.resize(400, 300);
        frmMain fresh(context_);
        QVERIFY(fresh.Build());
        fresh.resize(400, 300);
        fresh.grab();  // first layout at the final size
        const QImage grownImage = grown.grab().toImage();
        QCOMPARE(grownImage, fresh.grab().toImage());
        QVERIFY(grownImage.pixelColor(390, 290) != grown.palette().color(QPalette::Window));
        grown.close();
        fresh.close();
    }
};

QTEST_MAIN(TestMapWindow)
#include "tst_view_mapwindow.moc"
