#include "document/MapModule.h"
#include "document/OwnerReplace.h"
#include "document/OwnerTable.h"
#include "support/FakeLockBox.h"
#include "support/FakeMessageBox.h"
#include "support/RecordingCells.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(MessageAnswer)

namespace {

const std::string Question = "置換しますか?";
const std::string Done = "置換が終了しました!";

// A 4x3 map: owner 1 at sectors 1, 4, 6, 9 and 11.
const QList<int> StartOwners{0, 1, 2, 3, 1, 5, 1, 0, 2, 1, 6, 1};

using Op = RecordingCells::Op;

}  // namespace

class TestOwnerReplace : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingCells> cells;
    FakeMessageBox messages;

    void SetUpMap(int width, int height, const QList<int>& owners)
    {
        MapModule::MapWidth = width;
        MapModule::MapHeight = height;
        cells = std::make_unique<RecordingCells>(width * height);
        for (int s = 0; s < owners.size(); ++s) {
            MapModule::OwnerGrid.Set(s, owners[s]);
            if (IsOwner(owners[s]))
                cells->Edit(s).color = OwnerTable[owners[s]].cellColor;
        }
        MapModule::Ports().cells = cells.get();
        MapModule::Ports().messages = &messages;
    }

    QList<int> Grid(int count) const
    {
        QList<int> grid;
        for (int s = 0; s < count; ++s)
            grid << MapModule::OwnerGrid.At(s);
        return grid;
    }

private slots:
    void init()
    {
        MapModule::ResetDocument();
        messages = FakeMessageBox();
    }
    void cleanup()
    {
        MapModule::ResetDocument();
        cells.reset();
    }

    void replaceEach_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<QList<int>>("replaced");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("completion");
        QTest::addColumn<bool>("marksChanged");
        using A = MessageAnswer;
        QTest::newRow("all yes") << 1 << 3 << QList<A>{A::Yes, A::Yes, A::Yes, A::Yes, A::Yes}
                                 << QList<int>{1, 4, 6, 9, 11} << 5 << true << true;
        QTest::newRow("all no") << 1 << 3 << QList<A>{A::No, A::No, A::No, A::No, A::No} << QList<int>{} << 5
                                << true << false;
        QTest::newRow("mixed") << 1 << 4 << QList<A>{A::No, A::Yes, A::No, A::No, A::Yes}
                               << QList<int>{4, 11} << 5 << true << true;
        QTest::newRow("cancel at the third question")
            << 1 << 2 << QList<A>{A::Yes, A::No, A::Cancel, A::Yes, A::Yes} << QList<int>{1} << 3 << false << true;
        QTest::newRow("cancel at the first question")
            << 1 << 2 << QList<A>{A::Cancel} << QList<int>{} << 1 << false << false;
        QTest::newRow("source equals target") << 1 << 1 << QList<A>{A::Yes, A::Yes, A::Yes, A::Yes, A::Yes}
                                              << QList<int>{1, 4, 6, 9, 11} << 5 << true << false;
        QTest::newRow("source no sector has") << 4 << 0 << QList<A>{} << QList<int>{} << 0 << true << false;
        QTest::newRow("target outside the owners") << 1 << 9 << QList<A>{A::Yes, A::No, A::No, A::No, A::No}
                                                   << QList<int>{1} << 5 << true << true;
    }
    void replaceEach()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(QList<int>, replaced);
        QFETCH(int, questions);
        QFETCH(bool, completion);
        QFETCH(bool, marksChanged);
        SetUpMap(4, 3, StartOwners);
        for (MessageAnswer answer : answers)
            messages.Script({answer});
        // While a question is up, exactly the asked-about cell is outlined.
        QList<int> outlinedWhileAsking;
        messages.OnShow([&](const FakeMessageBox::Call& call) {
            if (call.text != Question)
                return;
            for (int s = 0; s < 12; ++s) {
                const auto& cell = cells->At(s);
                if (cell.borderWidth == 2 && cell.borderStyle == CellPort::BorderSolid)
                    outlinedWhileAsking << s;
                else
                    QVERIFY(cell.borderWidth == 1 && cell.borderStyle == CellPort::BorderNone);
            }
        });

        MapModule::ReplaceOwnerEach(source, target);

        QCOMPARE(messages.CountOf(Question), questions);
        QCOMPARE(messages.CountOf(Done), completion ? 1 : 0);
        QCOMPARE(messages.Count(), questions + (completion ? 1 : 0));
        QCOMPARE(outlinedWhileAsking.size(), questions);
        QList<int> expected = StartOwners;
        for (int s : replaced)
            expected[s] = target;
        QCOMPARE(Grid(12), expected);
        for (int s = 0; s < 12; ++s) {
            QCOMPARE(cells->At(s).borderWidth, 1);
            QCOMPARE(cells->At(s).borderStyle, CellPort::BorderNone);
            if (IsOwner(expected[s]))
                QCOMPARE(cells->At(s).color, OwnerTable[expected[s]].cellColor);
        }
        QCOMPARE(MapModule::MapChanged, marksChanged ? MapModule::True : MapModule::False);
    }

    void eachBorderOrderAndMessages()
    {
        SetUpMap(2, 1, {1, 0});
        messages.Script({MessageAnswer::Yes});
        MapModule::ReplaceOwnerEach(1, 6);
        const std::vector<RecordingCells::Call> expected{
            {Op::BorderWidth, 0, 2}, {Op::BorderStyle, 0, 1}, {Op::BorderStyle, 0, 0},
            {Op::BorderWidth, 0, 1}, {Op::Color, 0, OwnerTable[6].cellColor.value}};
        QVERIFY(cells->Log() == expected);
        QCOMPARE(messages.Count(), 2);
        const auto& question = messages.Calls()[0];
        QCOMPARE(question.text, Question);
        QCOMPARE(question.title, std::string());
        QCOMPARE(question.buttons, MessageButtons::YesNoCancel);
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.defaultButton, MessageAnswer::Yes);
        const auto& done = messages.Calls()[1];
        QCOMPARE(done.text, Done);
        QCOMPARE(done.title, std::string());
        QCOMPARE(done.buttons, MessageButtons::Ok);
        QCOMPARE(done.icon, MessageIcon::Information);
        QCOMPARE(done.defaultButton, MessageAnswer::Ok);
    }

    void replaceAll_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<QList<int>>("replaced");
        QTest::addColumn<bool>("marksChanged");
        QTest::newRow("1 to 3") << 1 << 3 << QList<int>{1, 4, 6, 9, 11} << true;
        QTest::newRow("0 to 6") << 0 << 6 << QList<int>{0, 7} << true;
        QTest::newRow("same owner") << 2 << 2 << QList<int>{2, 8} << false;
        QTest::newRow("absent owner") << 4 << 1 << QList<int>{} << false;
        QTest::newRow("target outside the owners") << 5 << 7 << QList<int>{5} << true;
    }
    void replaceAll()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QList<int>, replaced);
        QFETCH(bool, marksChanged);
        SetUpMap(4, 3, StartOwners);
        MapModule::ReplaceOwnerAll(source, target);

        QList<int> expected = StartOwners;
        for (int s : replaced)
            expected[s] = target;
        QCOMPARE(Grid(12), expected);
        // Each replaced sector: outline off, then its colour when the target has one.
        std::vector<RecordingCells::Call> log;
        for (int s : replaced) {
            log.push_back({Op::BorderStyle, s, 0});
            log.push_back({Op::BorderWidth, s, 1});
            if (IsOwner(target))
                log.push_back({Op::Color, s, OwnerTable[target].cellColor.value});
        }
        QVERIFY(cells->Log() == log);
        QCOMPARE(messages.Count(), 1);
        QCOMPARE(messages.Calls()[0].text, Done);
        QCOMPARE(MapModule::MapChanged, marksChanged ? MapModule::True : MapModule::False);
    }

    void lockedCellsAreSkipped_data()
    {
        QTest::addColumn<bool>("each");
        QTest::newRow("each") << true;
        QTest::newRow("all") << false;
    }
    void lockedCellsAreSkipped()
    {
        QFETCH(bool, each);
        SetUpMap(5, 5, QList<int>(25, 0));
        FakeLockBox lockBox;
        MapModule::Ports().lockBox = &lockBox;
        lockBox.SetValue(1);
        cells->ClearLog();
        if (each)
            MapModule::ReplaceOwnerEach(0, 3);  // the script is empty: every answer is the default Yes
        else
            MapModule::ReplaceOwnerAll(0, 3);
        for (int s = 0; s < 25; ++s) {
            const bool inner = s % 5 != 0 && s % 5 != 4 && s / 5 != 0 && s / 5 != 4;
            QCOMPARE(MapModule::OwnerGrid.At(s), inner ? 3 : 0);
            QCOMPARE(cells->At(s).fillStyle, inner ? CellPort::FillSolid : CellPort::FillLocked);
        }
        QCOMPARE(messages.CountOf(Question), each ? 9 : 0);
        for (const auto& call : cells->Log())
            QVERIFY(call.index % 5 != 0 && call.index % 5 != 4);
    }

    void noMap_data()
    {
        QTest::addColumn<bool>("each");
        QTest::newRow("each") << true;
        QTest::newRow("all") << false;
    }
    void noMap()
    {
        QFETCH(bool, each);
        SetUpMap(0, 0, {});
        MapModule::OwnerGrid.Set(0, 1);
        if (each)
            MapModule::ReplaceOwnerEach(1, 2);
        else
            MapModule::ReplaceOwnerAll(1, 2);
        QCOMPARE(messages.Count(), 1);
        QCOMPARE(messages.Calls()[0].text, Done);
        QCOMPARE(MapModule::OwnerGrid.At(0), 1);
        QCOMPARE(MapModule::MapChanged, MapModule::False);
    }

    void withoutCellsTheGridStillChanges()
    {
        SetUpMap(4, 3, StartOwners);
        MapModule::Ports().cells = nullptr;
        MapModule::ReplaceOwnerEach(1, 5);
        QCOMPARE(Grid(12), (QList<int>{0, 5, 2, 3, 5, 5, 5, 0, 2, 5, 6, 5}));
        QVERIFY(cells->Log().empty());
        QCOMPARE(MapModule::MapChanged, MapModule::True);
    }
};

QTEST_GUILESS_MAIN(TestOwnerReplace)
#include "tst_document_ownerreplace.moc"
