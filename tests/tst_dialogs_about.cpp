#include "dialogs/frmAbout.h"
#include "support/AccessibleLookup.h"

#include <QPushButton>
#include <QtTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void keysAndCloseBox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("Enter closes") << "enter" << false;
        QTest::newRow("keypad Enter closes") << "keypadEnter" << false;
        QTest::newRow("Escape does nothing") << "escape" << true;
        QTest::newRow("OK button closes") << "ok" << false;
        QTest::newRow("close box closes") << "closeBox" << false;
    }
    void keysAndCloseBox()
    {
        QFETCH(QString, how);
        QFETCH(bool, staysOpen);
        frmAbout box;
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        if (how == "enter")
            QTest::keyClick(focus, Qt::Key_Return);
        else if (how == "keypadEnter")
            QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "escape")
            QTest::keyClick(focus, Qt::Key_Escape);
        else if (how == "ok")
            QTest::mouseClick(box.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        else
            QVERIFY(box.close());
        QCOMPARE(box.isVisible(), staysOpen);
    }

    void readerNames_data()
    {
        AddAccessibleColumns();
        QTest::newRow("title picture") << "Image1" << int(QAccessible::Graphic) << "Gridforge First Release Edition" << "";
        QTest::newRow("OK") << "Command1" << int(QAccessible::Button) << "OK" << "";
    }
    void readerNames()
    {
        frmAbout box;
        VerifyAccessibleRow(box);
    }

    void modelessWithItsOwnIcon()
    {
        QWidget frame;
        frmAbout box(&frame);
        QVERIFY(!box.isModal());
        QVERIFY(!box.windowIcon().isNull());
        QCOMPARE(box.size(), QSize(342, 287));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_dialogs_about.moc"
