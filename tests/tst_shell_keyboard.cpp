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
        QStringList seen;
        for (int i = 0; i < 30; ++i) {
            QWidget* f = QApplication::focusWidget();
            seen << (f ? f->objectName() + ":" + f->metaObject()->className() : QString("null"));
            QTest::keyClick(f ? f : started.frame.get(), Qt::Key_Tab);
        }
        qDebug() << seen;
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_shell_keyboard.moc"
