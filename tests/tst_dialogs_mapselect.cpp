#include "support/AccessibleLookup.h"
#include "support/DialogLookup.h"
#include "dialogs/frmMapSelect.h"
#include "document/MapModule.h"
#include "support/FakeMapWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// An open 30 x 40 map with painted owners everywhere in the grid.
void SetUpPaintedMap(FakeMapWindow& window)
{
    MapModule::MapWidth = 30;
    MapModule::MapHeight = 40;
    MapModule::Ports().mapWindow = &window;
    window.OpenMapWindow();
    window.openCalls = 0;
    for (int i = 0; i < OwnerGridArray::Capacity; ++i)
        MapModule::OwnerGrid.Set(i, 1 + i % 6);
    MapModule::MapChanged = MapModule::True;
}

int NonZeroEntries()
{
    int count = 0;
    for (int i = 0; i < OwnerGridArray::Capacity; ++i)
        count += MapModule::OwnerGrid.At(i) != 0 ? 1 : 0;
    return count;
}


}  // namespace

class TestMapSelect : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }
    void cleanup() { MapModule::ResetDocument(); }

    void listsHoldTenToFiftyAtTwenty_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("width") << "Combo1";
        QTest::newRow("height") << "Combo2";
    }
    void listsHoldTenToFiftyAtTwenty()
    {
        QFETCH(QString, list);
        frmMapSelect dialog;
        auto* combo = Child<QComboBox>(dialog, list.toLatin1().constData());
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->count(), 41);
        for (int p = 0; p < combo->count(); ++p)
            QCOMPARE(combo->itemText(p), QString::number(p + 10));
        QCOMPARE(combo->currentText(), QStringLiteral("20"));
    }

    void okStartsMapOfChosenSize_data()
    {
        QTest::addColumn<int>("widthPosition");   // -1: left as opened
        QTest::addColumn<int>("heightPosition");  // -1: left as opened
        QTest::addColumn<bool>("pressPicture");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");

        QTest::newRow("untouched, clicked") << -1 << -1 << false << "click" << 20 << 20;
        QTest::newRow("untouched, Enter") << -1 << -1 << false << "enter" << 20 << 20;
        QTest::newRow("Enter with focus on OK") << -1 << -1 << false << "enterOnOk" << 20 << 20;
        QTest::newRow("37 then picture makes 37x37") << 27 << -1 << true << "click" << 37 << 37;
        QTest::newRow("picture copies width over a chosen height") << 5 << 33 << true << "enter" << 15 << 15;
        QTest::newRow("width and height kept apart") << 35 << 2 << false << "click" << 45 << 12;
        QTest::newRow("smallest") << 0 << 0 << false << "click" << 10 << 10;
        QTest::newRow("largest") << 40 << 40 << false << "enter" << 50 << 50;
    }
    void okStartsMapOfChosenSize()
    {
        QFETCH(int, widthPosition);
        QFETCH(int, heightPosition);
        QFETCH(bool, pressPicture);
        QFETCH(QString, how);
        QFETCH(int, width);
        QFETCH(int, height);

        FakeMapWindow window;
        SetUpPaintedMap(window);
        frmMapSelect dialog;
        ShowActive(dialog);
        if (widthPosition >= 0)
            Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(widthPosition);
        if (heightPosition >= 0)
            Child<QComboBox>(dialog, "Combo2")->setCurrentIndex(heightPosition);
        if (pressPicture)
            QTest::mouseClick(Child<QWidget>(dialog, "Image1"), Qt::LeftButton);
        QCOMPARE(Child<QComboBox>(dialog, "Combo1")->currentIndex(), width - 10);

        if (how == "click") {
            QTest::mouseClick(Child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
        } else {
            if (how == "enterOnOk")
                Child<QPushButton>(dialog, "Command1")->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(MapModule::MapWidth, width);
        QCOMPARE(MapModule::MapHeight, height);
        QCOMPARE(window.closeCalls, 1);
        QCOMPARE(window.openCalls, 1);
        QVERIFY(window.Cells() != nullptr);
        QCOMPARE(window.Cells()->CellCount(), width * height);
        QCOMPARE(NonZeroEntries(), 0);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    // The open map refuses to close: the dialog goes away and the old map,
    // its window and the whole document stay as they were.
    void refusedCloseKeepsOldMap()
    {
        FakeMapWindow window;
        SetUpPaintedMap(window);
        window.refuseClose = true;
        RecordingCells* oldCells = window.Cells();
        frmMapSelect dialog;
        ShowActive(dialog);
        Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(40);
        QTest::mouseClick(Child<QPushButton>(dialog, "Command1"), Qt::LeftButton);

        QVERIFY(!dialog.isVisible());
        QCOMPARE(window.closeCalls, 1);
        QCOMPARE(window.openCalls, 0);
        QCOMPARE(window.Cells(), oldCells);
        QVERIFY(window.HasMapWindow());
        QCOMPARE(MapModule::MapWidth, 30);
        QCOMPARE(MapModule::MapHeight, 40);
        QCOMPARE(NonZeroEntries(), OwnerGridArray::Capacity);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
    }

    void leavingWithoutOk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("Escape does nothing") << "escape" << true;
        QTest::newRow("Escape on a list does nothing") << "escapeOnList" << true;
        QTest::newRow("Cancel button") << "cancel" << false;
        QTest::newRow("close box") << "closeBox" << false;
        QTest::newRow("Tab to キャンセル and Enter cancels") << "tabToCancelEnter" << false;
    }
    void leavingWithoutOk()
    {
        QFETCH(QString, how);
        QFETCH(bool, staysOpen);

        FakeMapWindow window;
        SetUpPaintedMap(window);
        frmMapSelect dialog;
        ShowActive(dialog);
        // Opening the dialog leaves the open map's document alone.
        QCOMPARE(MapModule::MapWidth, 30);
        QCOMPARE(MapModule::MapHeight, 40);

        if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "escapeOnList")
            QTest::keyClick(Child<QComboBox>(dialog, "Combo2"), Qt::Key_Escape);
        else if (how == "cancel")
            QTest::mouseClick(Child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        else if (how == "tabToCancelEnter") {
            for (int tab = 0; tab < 3; ++tab)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else
            QVERIFY(dialog.close());

        QCOMPARE(dialog.isVisible(), staysOpen);
        if (!staysOpen)
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(MapModule::MapWidth, 30);
        QCOMPARE(MapModule::MapHeight, 40);
        QCOMPARE(NonZeroEntries(), OwnerGridArray::Capacity);
        QCOMPARE(window.closeCalls, 0);
        QCOMPARE(window.openCalls, 0);
        QVERIFY(window.HasMapWindow());
    }

    void tabOrder()
    {
        frmMapSelect dialog;
        ShowActive(dialog);
        const QStringList expected{"Combo1", "Combo2", "Command1", "Command2", "Combo1"};
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    void readerNames_data()
    {
        AddAccessibleColumns();
        QTest::newRow("width list") << "Combo1" << int(QAccessible::ComboBox) << ListName("20", "幅") << "幅";
        QTest::newRow("height list") << "Combo2" << int(QAccessible::ComboBox) << ListName("20", "高さ") << "高さ";
        QTest::newRow("picture, a button") << "Image1" << int(QAccessible::Button) << "正方形にする" << "";
    }
    void readerNames()
    {
        frmMapSelect dialog;
        VerifyAccessibleRow(dialog);
    }

    // A reader presses the picture as a button; it still takes no focus.
    void readerPressesPicture()
    {
        frmMapSelect dialog;
        ShowActive(dialog);
        Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(27);
        QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(Child<QWidget>(dialog, "Image1"));
        QVERIFY(!picture->state().focusable);
        QVERIFY(picture->actionInterface());
        picture->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // The toolkit presses a button for a reader with a short animation.
        QTRY_COMPARE(Child<QComboBox>(dialog, "Combo2")->currentIndex(), 27);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(dialog, "Combo1"));
    }

    void fixedSizeAndScreenPosition()
    {
        frmMapSelect dialog;
        ShowActive(dialog);
        QCOMPARE(dialog.size(), QSize(228, 104));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.geometry().topLeft(), QPoint(191, 259));
        QVERIFY(dialog.isModal());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("マップサイズの選択"));
    }
};

QTEST_MAIN(TestMapSelect)
#include "tst_dialogs_mapselect.moc"
