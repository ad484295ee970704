#include "support/AccessibleLookup.h"
#include "support/DialogLookup.h"
#include "dialogs/frmReplace.h"
#include "document/MapModule.h"
#include "support/FakeMessageBox.h"
#include "support/RecordingCells.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(QList<MessageAnswer>)

namespace {

const QList<int> StartGrid{6, 0, 6, 1, 2, 6, 3, 4, 5, 6, 0, 1};  // 4 x 3 map
const QString Done = QStringLiteral("置換が終了しました!");


QList<int> Grid()
{
    QList<int> grid;
    for (int i = 0; i < StartGrid.size(); ++i)
        grid << MapModule::OwnerGrid.At(i);
    return grid;
}

}  // namespace

class TestReplace : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }
    void cleanup() { MapModule::ResetDocument(); }

    void readerNames_data()
    {
        AddAccessibleColumns();
        QTest::newRow("source list, tied to its label")
            << "ImageCombo1" << int(QAccessible::ComboBox) << ListName("ターゲット&非占領", "置換元のオーナー")
            << "置換元のオーナー：";
        QTest::newRow("target list, tied to its label")
            << "ImageCombo2" << int(QAccessible::ComboBox) << ListName("ターゲット&非占領", "置換先のオーナー")
            << "置換先のオーナー：";
        QTest::newRow("icon") << "Image1" << int(QAccessible::Graphic) << "オーナー置換のアイコン" << "";
    }
    void readerNames()
    {
        frmReplace dialog;
        VerifyAccessibleRow(dialog);
    }

    void ownerLists_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("swatch");
        QTest::newRow("owner 0, literal ampersand") << 0 << "ターゲット&非占領" << QColor(255, 128, 64);
        QTest::newRow("owner 1") << 1 << "レジスタンス" << QColor(0, 0, 255);
        QTest::newRow("owner 2") << 2 << "スルゴガー" << QColor(0, 255, 0);
        QTest::newRow("owner 3") << 3 << "マイコニア" << QColor(255, 255, 255);
        QTest::newRow("owner 4") << 4 << "ターカスト" << QColor(255, 255, 0);
        QTest::newRow("owner 5, the dialog's own grey") << 5 << "ブラックセクト" << QColor(128, 128, 128);
        QTest::newRow("owner 6") << 6 << "ゴアカフ" << QColor(255, 0, 0);
    }
    void ownerLists()
    {
        QFETCH(int, position);
        QFETCH(QString, text);
        QFETCH(QColor, swatch);
        frmReplace dialog;
        for (const char* name : {"ImageCombo1", "ImageCombo2"}) {
            auto* list = Child<QComboBox>(dialog, name);
            QCOMPARE(list->count(), 7);
            QCOMPARE(list->currentIndex(), 0);
            QCOMPARE(list->itemText(position), text);
            const QImage image = list->itemIcon(position).pixmap(QSize(16, 16)).toImage();
            QCOMPARE(image.size(), QSize(16, 16));
            for (QPoint p : {QPoint(0, 0), QPoint(8, 8), QPoint(15, 15)})
                QCOMPARE(image.pixelColor(p).name(), swatch.name());
        }
    }

    void replaceRuns_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<QList<int>>("grid");
        QTest::addColumn<int>("doneMessages");

        using A = MessageAnswer;
        QTest::newRow("ゴアカフ to レジスタンス, all")
            << 6 << 1 << "all" << QList<A>{} << QList<int>{1, 0, 1, 1, 2, 1, 3, 4, 5, 1, 0, 1} << 1;
        QTest::newRow("the other way round, all")
            << 1 << 6 << "all" << QList<A>{} << QList<int>{6, 0, 6, 6, 2, 6, 3, 4, 5, 6, 0, 6} << 1;
        QTest::newRow("Enter at once runs all with 0 to 0") << -1 << -1 << "enter" << QList<A>{} << StartGrid << 1;
        QTest::newRow("Enter runs all with the chosen pair")
            << 0 << 3 << "enter" << QList<A>{} << QList<int>{6, 3, 6, 1, 2, 6, 3, 4, 5, 6, 3, 1} << 1;
        QTest::newRow("Tab to 置換 and Enter runs each, not all")
            << 6 << 1 << "tab4" << QList<A>{A::Yes, A::No, A::Cancel}
            << QList<int>{1, 0, 6, 1, 2, 6, 3, 4, 5, 6, 0, 1} << 0;
        QTest::newRow("Tab to すべて置換 and Enter runs all")
            << 6 << 1 << "tab2" << QList<A>{} << QList<int>{1, 0, 1, 1, 2, 1, 3, 4, 5, 1, 0, 1} << 1;
        QTest::newRow("Tab round to the first list, Enter runs all again")
            << 6 << 1 << "tab5" << QList<A>{} << QList<int>{1, 0, 1, 1, 2, 1, 3, 4, 5, 1, 0, 1} << 1;
        QTest::newRow("each, Yes to every sector")
            << 6 << 1 << "each" << QList<A>{A::Yes, A::Yes, A::Yes, A::Yes}
            << QList<int>{1, 0, 1, 1, 2, 1, 3, 4, 5, 1, 0, 1} << 1;
        QTest::newRow("each, Yes, No, then Cancel")
            << 6 << 1 << "each" << QList<A>{A::Yes, A::No, A::Cancel}
            << QList<int>{1, 0, 6, 1, 2, 6, 3, 4, 5, 6, 0, 1} << 0;
    }
    void replaceRuns()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QString, how);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(QList<int>, grid);
        QFETCH(int, doneMessages);

        MapModule::MapWidth = 4;
        MapModule::MapHeight = 3;
        for (int i = 0; i < StartGrid.size(); ++i)
            MapModule::OwnerGrid.Set(i, StartGrid[i]);
        RecordingCells cells(12);
        FakeMessageBox messages;
        for (MessageAnswer answer : answers)
            messages.Script({answer});
        MapModule::Ports().cells = &cells;
        MapModule::Ports().messages = &messages;

        frmReplace dialog;
        ShowActive(dialog);
        auto* sourceList = Child<QComboBox>(dialog, "ImageCombo1");
        auto* targetList = Child<QComboBox>(dialog, "ImageCombo2");
        if (source >= 0)
            sourceList->setCurrentIndex(source);
        if (target >= 0)
            targetList->setCurrentIndex(target);

        if (how == "all")
            QTest::mouseClick(Child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        else if (how == "each")
            QTest::mouseClick(Child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
        else {
            // From the first list, Tab the number of times given, then Enter.
            for (int tabs = how.startsWith("tab") ? how.mid(3).toInt() : 0; tabs > 0; --tabs)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }

        QCOMPARE(Grid(), grid);
        QCOMPARE(messages.CountOf(Done.toStdString()), doneMessages);
        for (int i = 0; i < grid.size(); ++i)
            if (grid[i] != StartGrid[i])
                QCOMPARE(cells.At(i).color.value, OwnerTable[grid[i]].cellColor.value);
        // The dialog stays open with the same choices.
        QVERIFY(dialog.isVisible());
        QCOMPARE(sourceList->currentIndex(), std::max(source, 0));
        QCOMPARE(targetList->currentIndex(), std::max(target, 0));
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("Escape does nothing") << "escape" << true;
        QTest::newRow("Escape on a list does nothing") << "escapeOnList" << true;
        QTest::newRow("Cancel button") << "cancel" << false;
        QTest::newRow("close box, same as Cancel") << "closeBox" << false;
    }
    void leaving()
    {
        QFETCH(QString, how);
        QFETCH(bool, staysOpen);
        MapModule::MapWidth = 4;
        MapModule::MapHeight = 3;
        for (int i = 0; i < StartGrid.size(); ++i)
            MapModule::OwnerGrid.Set(i, StartGrid[i]);
        FakeMessageBox messages;
        MapModule::Ports().messages = &messages;

        frmReplace dialog;
        ShowActive(dialog);
        if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "escapeOnList")
            QTest::keyClick(Child<QComboBox>(dialog, "ImageCombo1"), Qt::Key_Escape);
        else if (how == "cancel")
            QTest::mouseClick(Child<QPushButton>(dialog, "Command3"), Qt::LeftButton);
        else
            QVERIFY(dialog.close());

        QCOMPARE(dialog.isVisible(), staysOpen);
        QCOMPARE(messages.Count(), 0);
        QCOMPARE(Grid(), StartGrid);
    }

    void tabOrder()
    {
        frmReplace dialog;
        ShowActive(dialog);
        const QStringList expected{"ImageCombo1", "ImageCombo2", "Command2", "Command3", "Command1", "ImageCombo1"};
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    void window()
    {
        frmReplace dialog;
        QCOMPARE(dialog.size(), QSize(408, 112));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.isModal());
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("オーナー置換"));
        QVERIFY(Child<QPushButton>(dialog, "Command2")->isDefault());
    }
};

QTEST_MAIN(TestReplace)
#include "tst_dialogs_replace.moc"
