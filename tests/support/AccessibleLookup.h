#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>
#include <QtTest>

// What a screen reader is told of a window's named control: its role, its
// name, and the names of the labels tied to it ("labelled by"). An empty
// object name stands for the window itself.
struct AccessibleFacts {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString description;
    QString labels;
};

inline AccessibleFacts FactsOf(QWidget& window, const QString& objectName)
{
    QWidget* widget = objectName.isEmpty() ? &window : window.findChild<QWidget*>(objectName);
    if (widget == nullptr)
        qFatal("no child %s", qPrintable(objectName));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (iface == nullptr)
        qFatal("no accessible interface for %s", qPrintable(objectName));
    QStringList labels;
    for (const auto& relation : iface->relations(QAccessible::Label))
        labels << relation.first->text(QAccessible::Name);
    return {iface->role(), iface->text(QAccessible::Name), iface->text(QAccessible::Description),
            labels.join(QLatin1Char('|'))};
}

// The columns of a table of such facts; a row gives the object, its role,
// its name and its labels ("" when it must have none).
inline void AddAccessibleColumns()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("labels");
}

inline void VerifyAccessibleRow(QWidget& window)
{
    QFETCH(QString, object);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, labels);
    const AccessibleFacts facts = FactsOf(window, object);
    QCOMPARE(int(facts.role), role);
    QCOMPARE(facts.name, name);
    QCOMPARE(facts.labels, labels);
}

// The name a reader hears for a drop-down list: on Windows its own name; on
// Linux the toolkit gives the shown value and leaves the purpose to the
// label tied to the list.
inline QString ListName(const QString& shown, const QString& own)
{
#ifdef Q_OS_WIN
    Q_UNUSED(shown);
    return own;
#else
    Q_UNUSED(own);
    return shown;
#endif
}
