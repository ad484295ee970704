#include "shell/KeyboardCues.h"
#include "shell/MainToolbar.h"
#include "shell/MapDataPanel.h"
#include "shell/OwnerToolbar.h"
#include "support/StartedFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QToolButton>
#include <QtTest>

// The frame without a pointer: the focus leaves the map and reaches every
// control, the panes take F6 and Ctrl+Tab, the map's digits press the owner
// buttons, and a focused button takes Enter.
namespace {

QString FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? QString("none") : focus->objectName().isEmpty() ? focus->metaObject()->className()
                                                                              : focus->objectName();
}

// The frame, active, with the focus on its map window.
struct KeyboardFrame : StartedFrame {
    KeyboardFrame() : StartedFrame(true)
    {
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        Map()->setFocus(Qt::OtherFocusReason);
    }
    void Press(const QKeySequence& keys)
    {
        for (int i = 0; i < keys.count(); ++i)
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys[i]));
    }
};

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void focusGoesRound_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("hide");
        QTest::addColumn<QStringList>("reached");
        const QStringList forward{"Toolbar3Button1", "Toolbar3Button2", "Toolbar3Button3", "Toolbar3Button5",
                                  "BrushSize1",      "Command2",        "Toolbar1Button2", "Command1",
                                  "Command3",        "Command4",        "Check1",          "frmMain"};
        QStringList backward(forward.rbegin() + 1, forward.rend());
        backward << "frmMain";
        // The owner buttons are one stop, entered at the pressed one.
        QTest::newRow("Tab from the map reaches every control") << QKeySequence(Qt::Key_Tab) << "" << forward;
        QTest::newRow("Shift+Tab the other way") << QKeySequence(Qt::SHIFT | Qt::Key_Backtab) << "" << backward;
        QTest::newRow("F6 from pane to pane")
            << QKeySequence(Qt::Key_F6) << "" << QStringList{"Toolbar3Button1", "Command2", "Command1", "frmMain"};
        QTest::newRow("Ctrl+Tab as F6")
            << QKeySequence(Qt::CTRL | Qt::Key_Tab) << "" << QStringList{"Toolbar3Button1", "Command2", "Command1", "frmMain"};
        QTest::newRow("Shift+F6 backwards")
            << QKeySequence(Qt::SHIFT | Qt::Key_F6) << "" << QStringList{"Command1", "Command2", "Toolbar3Button1", "frmMain"};
        QTest::newRow("a hidden bar is passed over")
            << QKeySequence(Qt::Key_F6) << "Toolbar1" << QStringList{"Toolbar3Button1", "Command1", "frmMain"};
    }
    void focusGoesRound()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, hide);
        QFETCH(QStringList, reached);
        KeyboardFrame started;
        if (!hide.isEmpty())
            started.frame->findChild<QWidget*>(hide)->hide();
        QStringList seen;
        for (int i = 0; i < reached.size(); ++i) {
            started.Press(key);
            seen << FocusName();
        }
        QCOMPARE(seen, reached);
    }

    // The map shows it has the focus by its cursor once the keyboard brought
    // the focus there; a click on a control leaves it hidden.
    void mapShowsTheFocus()
    {
        KeyboardFrame started;
        frmMain* map = started.Map();
        QVERIFY(!map->Keyboard().CursorDrawn());
        started.Press(QKeySequence(Qt::SHIFT | Qt::Key_Backtab));
        QVERIFY(!map->Keyboard().CursorDrawn());
        started.Press(QKeySequence(Qt::Key_Tab));
        QCOMPARE(FocusName(), QString("frmMain"));
        QVERIFY(map->Keyboard().CursorDrawn());
        started.Press(QKeySequence(Qt::Key_Tab));
        QVERIFY(!map->Keyboard().CursorDrawn());
    }

    // A window opened from the keyboard shows its focus frame at once; one
    // opened by a click shows it after the first Tab.
    void windowOpenedByKeyShowsTheFocus_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("opened by a key: shown") << true;
        QTest::newRow("opened by a click: hidden") << false;
    }
    void windowOpenedByKeyShowsTheFocus()
    {
        QFETCH(bool, byKey);
        KeyboardCues cues;
        qApp->installEventFilter(&cues);
        KeyboardFrame started;
        if (byKey)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        else
            QTest::mouseClick(started.Map(), Qt::LeftButton);
        QDialog dialog(started.frame.get());
        dialog.show();
        qApp->removeEventFilter(&cues);
        QCOMPARE(dialog.testAttribute(Qt::WA_KeyboardFocusChange), byKey);
    }

    void digitPressesTheOwnerButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("owner");
        QTest::newRow("4 is button 6") << int(Qt::Key_4) << 6 << 4;
        QTest::newRow("1 is button 3") << int(Qt::Key_1) << 3 << 1;
        QTest::newRow("0 is button 9") << int(Qt::Key_0) << 9 << 0;
        QTest::newRow("7 is none: the pointer stays") << int(Qt::Key_7) << 2 << 77;
    }
    void digitPressesTheOwnerButton()
    {
        QFETCH(int, key);
        QFETCH(int, button);
        QFETCH(int, owner);
        KeyboardFrame started;
        MapModule::CurrentOwner = 77;
        QTest::keyClick(started.Map(), Qt::Key(key));
        QCOMPARE(MapModule::CurrentOwner, owner);
        QVERIFY(started.frame->Toolbar1()->Button(button)->isChecked());
        QCOMPARE(FocusName(), QString("frmMain"));
        // Then Space paints that owner at the cursor, with the list's brush.
        started.frame->Toolbar3()->BrushSize1()->setCurrentIndex(1);
        QTest::keyClick(started.Map(), Qt::Key_Space);
        for (int sector : {0, 1, 20, 21})
            QCOMPARE(MapModule::OwnerGrid.At(sector), owner == 77 ? 0 : owner);
    }

    // The owner buttons are one stop of Tab; the arrows go from owner to owner.
    void arrowsWalkTheOwnerButtons()
    {
        KeyboardFrame started;
        started.frame->Toolbar1()->Button(5)->click();
        QTest::keyClick(started.Map(), Qt::Key_Tab);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusName(), QString("Toolbar1Button5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(FocusName(), QString("Toolbar1Button6"));
        QVERIFY(started.frame->Toolbar1()->Button(6)->isChecked());
        QCOMPARE(MapModule::CurrentOwner, 4);
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hidden");
        QTest::newRow("owner toolbar's ×") << "Toolbar1" << "Toolbar1";
        QTest::newRow("map-data panel's ×") << "Toolbar2" << "Toolbar2";
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(QString, hidden);
        KeyboardFrame started;
        auto* bar = started.frame->findChild<QWidget*>(button);
        auto* close = bar->findChild<QPushButton*>(button == "Toolbar1" ? "Command2" : "Command1");
        close->setFocus(Qt::TabFocusReason);
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(started.frame->findChild<QWidget*>(hidden)->isHidden());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_shell_keyboard.moc"
