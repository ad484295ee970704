#include "document/MapModule.h"
#include "document/MapWindowCycle.h"
#include "document/OwnerReplace.h"
#include "support/FakeLockBox.h"
#include "support/FakeMessageBox.h"
#include "support/ViewFakeFrame.h"
#include "view/SectorPainter.h"
#include "view/qt/MapAccessible.h"
#include "view/qt/frmMain.h"

#include <QAccessible>
#include <QMdiArea>
#include <QtTest>

namespace {

struct SeenEvent {
    QAccessible::Event type;
    QString name;  // the name of what it is about, read when it arrives
    int paints;  // the map's paints by then
};
std::vector<SeenEvent> seen;

// Counts the paints of the window it watches.
class PaintCount : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
PaintCount paintCount;

void Record(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    seen.push_back({event->type(), iface != nullptr ? iface->text(QAccessible::Name) : QString(), paintCount.paints});
}

QStringList NamesSent(QAccessible::Event type)
{
    QStringList names;
    for (const SeenEvent& event : seen)
        if (event.type == type)
            names << event.name;
    return names;
}

}  // namespace

// The map window as a screen reader reads it: a table of the sectors, named
// by their owners, and what it hears when they change.
class TestMapAccessible : public QObject {
    Q_OBJECT
private:
    ViewFakeFrame frame_;
    FakeLockBox lockBox_;
    FakeMessageBox messages_;
    QMdiArea* area_ = nullptr;

    frmMain* OpenMap(int width, int height, int lock = 0)
    {
        lockBox_.Preset(lock);
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        auto* map = new frmMain(MapWindowContext{&frame_, &messages_, &MapModule::Ports().cells});
        area_->addSubWindow(map);
        map->show();
        if (!map->Build())
            return nullptr;
        MapModule::MapWindowBuilt();
        return map;
    }
    static QAccessibleInterface* Table(frmMain* map) { return QAccessible::queryAccessibleInterface(map); }
    static void Press(frmMain* map, int sector, int owner)
    {
        MapModule::CurrentOwner = owner;
        QTest::mouseClick(map, Qt::LeftButton, {}, map->CellRectPixels(sector).center());
    }

private slots:
    void initTestCase()
    {
        // Run on an accessibility bus (tests/e2e/on_bus.py): the bridge comes up once the bus answers.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        QAccessible::installUpdateHandler(Record);
    }
    void init()
    {
        MapModule::ResetDocument();
        frame_ = ViewFakeFrame{};
        MapModule::Ports().lockBox = &lockBox_;
        SectorPainter::PointerPressed = false;
        area_ = new QMdiArea;
        area_->resize(1000, 1000);
        area_->show();
        QVERIFY(QTest::qWaitForWindowExposed(area_));
        seen.clear();
    }
    void cleanup()
    {
        MapModule::MapChanged = MapModule::False;
        delete area_;
        MapModule::ResetDocument();
    }

    void tableHasTheMapSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("10 x 10") << 10 << 10;
        QTest::newRow("20 wide, 35 high") << 20 << 35;
        QTest::newRow("50 x 50") << 50 << 50;
    }
    void tableHasTheMapSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        frmMain* map = OpenMap(width, height);
        QVERIFY(map);
        QAccessibleInterface* table = Table(map);
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("マップ"));
        QVERIFY(table->tableInterface());
        QCOMPARE(table->tableInterface()->rowCount(), height);
        QCOMPARE(table->tableInterface()->columnCount(), width);
        QCOMPARE(table->childCount(), width * height);
        QVERIFY(table->text(QAccessible::Description).startsWith(QStringLiteral("幅 %1 × 高さ %2 セクタ").arg(width).arg(height)));
        // The last cell is the bottom-right sector, where the window shows it.
        QAccessibleInterface* last = table->tableInterface()->cellAt(height - 1, width - 1);
        QCOMPARE(table->indexOfChild(last), width * height - 1);
        QCOMPARE(last->rect().center(), map->mapToGlobal(map->CellRectPixels(width * height - 1).center()));
        QCOMPARE(table->childAt(last->rect().center().x(), last->rect().center().y()), last);
    }

    void cellIsNamedByItsOwner_data()
    {
        QTest::addColumn<int>("lock");
        QTest::addColumn<int>("sector");
        QTest::addColumn<int>("owner");  // painted there with a press; -1: left alone
        QTest::addColumn<QString>("name");
        QTest::newRow("new map: owner 0") << 0 << 21 << -1 << "ターゲット&非占領";
        QTest::newRow("painted owner 4") << 0 << 21 << 4 << "ターカスト";
        QTest::newRow("locked ring sector") << 1 << 0 << -1 << "ターゲット&非占領（ロック）";
        QTest::newRow("press on a locked sector") << 1 << 19 << 6 << "ターゲット&非占領（ロック）";
        QTest::newRow("inner sector of a locked map") << 1 << 21 << 6 << "ゴアカフ";
    }
    void cellIsNamedByItsOwner()
    {
        QFETCH(int, lock);
        QFETCH(int, sector);
        QFETCH(int, owner);
        QFETCH(QString, name);
        frmMain* map = OpenMap(20, 35, lock);
        QVERIFY(map);
        if (owner >= 0)
            Press(map, sector, owner);
        QAccessibleInterface* cell = Table(map)->tableInterface()->cellAt(sector / 20, sector % 20);
        QVERIFY(cell);
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(cell->text(QAccessible::Name), name);
        QCOMPARE(cell->tableCellInterface()->rowIndex(), sector / 20);
        QCOMPARE(cell->tableCellInterface()->columnIndex(), sector % 20);
        QCOMPARE(Table(map)->child(sector), cell);
    }

    void changeIsAnnouncedAfterTheAction_data()
    {
        QTest::addColumn<bool>("known");  // a reader asked for the cell before
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("names");
        const QStringList none;
        QTest::newRow("press on a known cell") << true << "press" << QStringList{"レジスタンス"};
        QTest::newRow("press with its own owner") << true << "press again" << none;
        QTest::newRow("lock") << true << "lock" << QStringList{"ターゲット&非占領（ロック）"};
        QTest::newRow("replace all") << true << "replace" << QStringList{"スルゴガー"};
        QTest::newRow("cell never asked for") << false << "press" << none;
    }
    void changeIsAnnouncedAfterTheAction()
    {
        QFETCH(bool, known);
        QFETCH(QString, action);
        QFETCH(QStringList, names);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        const int sector = action == "lock" ? 0 : 44;
        if (known)
            QVERIFY(Table(map)->child(sector));
        map->repaint();
        map->installEventFilter(&paintCount);
        paintCount.paints = 0;
        seen.clear();

        if (action == "press")
            Press(map, sector, 1);
        else if (action == "press again")
            Press(map, sector, 0);
        else if (action == "lock")
            lockBox_.SetValue(1);
        else
            MapModule::ReplaceOwnerAll(0, 2);
        QVERIFY2(NamesSent(QAccessible::NameChanged).isEmpty(), "names are sent once the action has ended");
        QCoreApplication::processEvents();

        map->removeEventFilter(&paintCount);
        QCOMPARE(NamesSent(QAccessible::NameChanged), names);
        for (const SeenEvent& event : seen)
            QVERIFY2(event.paints > 0, "the window is repainted before a reader is told");
        // One change of the table's data for the whole action, the cells known or not.
        QCOMPARE(NamesSent(QAccessible::TableModelChanged), QStringList{"マップ"});
    }

    void cursorCellIsTheFocusedOne()
    {
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        area_->activateWindow();
        map->setFocus();
        QTRY_VERIFY(map->hasFocus());
        MapModule::OwnerGrid.Set(45, 3);
        seen.clear();
        MapAccessible::CursorMoved(*map, 45);
        QCOMPARE(NamesSent(QAccessible::Focus), QStringList{"マイコニア"});
        QAccessibleInterface* cell = Table(map)->child(45);
        QCOMPARE(Table(map)->focusChild(), cell);
        QVERIFY(cell->state().focused);
        QVERIFY(!Table(map)->child(44)->state().focused);
        MapAccessible::CursorMoved(*map, -1);
        QCOMPARE(Table(map)->focusChild(), nullptr);
    }

    void descriptionGivesOwnerAndBrush_data()
    {
        QTest::addColumn<int>("owner");
        QTest::addColumn<int>("brushPosition");
        QTest::addColumn<QString>("tail");
        QTest::newRow("owner 4, brush 1") << 4 << 0 << "オーナー: ターカスト、ブラシサイズ: 1";
        QTest::newRow("owner 0, brush 3") << 0 << 2 << "オーナー: ターゲット&非占領、ブラシサイズ: 3";
        QTest::newRow("pointer, brush 5") << int(MapModule::OwnerNone) << 4 << "オーナー: なし（ポインタ）、ブラシサイズ: 5";
    }
    void descriptionGivesOwnerAndBrush()
    {
        QFETCH(int, owner);
        QFETCH(int, brushPosition);
        QFETCH(QString, tail);
        frmMain* map = OpenMap(10, 10);
        QVERIFY(map);
        MapModule::CurrentOwner = owner;
        frame_.brushPosition = brushPosition;
        QCOMPARE(Table(map)->text(QAccessible::Description), QStringLiteral("幅 10 × 高さ 10 セクタ、") + tail);
        seen.clear();
        MapAccessible::DescriptionChanged(map);
        QCOMPARE(NamesSent(QAccessible::DescriptionChanged), QStringList{"マップ"});
    }
};

QTEST_MAIN(TestMapAccessible)
#include "tst_view_mapaccessible.moc"
