#include "support/StartedFrame.h"

#include <QApplication>
#include <QtTest>

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void explore()
    {
        StartedFrame started(true);
        started.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(started.frame.get()));
        frmMain* map = started.Map();
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        qDebug() << QApplication::focusWidget();
        QTest::qWait(50);
        qDebug() << "drawn" << map->Keyboard().CursorDrawn() << map->Keyboard().CursorRect();
        QImage a = map->grab().toImage();
        qDebug() << a.pixelColor(map->Keyboard().CursorRect().topLeft());
        QTest::keyClick(map, Qt::Key_Tab);
        qDebug() << QApplication::focusWidget() << map->hasFocus();
        QTest::qWait(50);
        qDebug() << "drawn" << map->Keyboard().CursorDrawn();
        QImage b = map->grab().toImage();
        qDebug() << b.pixelColor(map->Keyboard().CursorRect().topLeft());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_shell_keyboard.moc"
