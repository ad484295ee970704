#pragma once

#include <QString>
#include <QWidget>
#include <QtTest>

// A named control of a window under test; a missing one ends the test run.
template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no child %s", name);
    return widget;
}

// Shows a window and waits until it is active, so that keys reach it.
inline void ShowActive(QWidget& dialog)
{
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}
