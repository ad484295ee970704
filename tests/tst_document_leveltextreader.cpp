#include "document/LevelText.h"
#include "document/LevelTextImport.h"
#include "document/LevelTextReader.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "support/MapFileFixture.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <random>

// The own_map section read back from a level text: what is accepted around
// it, one row per reason a text is refused (with its line and column), the
// round trip through the map file for every size the editor makes, and the
// level text opened in the editor as a new map.
namespace {

using Refusal = LevelTextReader::Refusal;

const QByteArray Section32 = "own_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 ";
const QByteArray ShiftJisLevel = "\x83\x8c\x83x\x83\x8b: \x8f\xe9\n";  // "レベル: 城" in Shift_JIS

// A random map of that size in the document, owners 0 to 6 (lock off).
void RandomMap(std::mt19937& random, int width, int height)
{
    std::uniform_int_distribution<int> owner(0, 6);
    MapModule::OwnerGrid.Fill(0);
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    for (int s = 0; s < width * height; ++s)
        MapModule::OwnerGrid.Set(s, owner(random));
}

std::string OwnMapOf(const QByteArray& text)
{
    const LevelTextReader::Result read = LevelTextReader::Read(text.toStdString());
    if (read.refusal != Refusal::None)
        return "refused at " + std::to_string(read.line) + ":" + std::to_string(read.column);
    MapModule::TakeOwnMap(read);
    return MapModule::BuildOwnMapText();
}

}  // namespace

class TestLevelTextReader : public QObject {
    Q_OBJECT
    MapFileFixture fixture;
private slots:
    void init() { QVERIFY(fixture.Start()); }
    void cleanup() { fixture.Remove(); }

    void accepted_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("ownMap");  // as the editor builds it again
        QTest::newRow("the section alone, as the viewer copies it") << Section32 << Section32;
        QTest::newRow("LF, no trailing spaces") << QByteArray("own_map=\n3 2\n00 01 02\n03 04 05\n") << Section32;
        QTest::newRow("Shift_JIS around it, LF")
            << ShiftJisLevel + "typ_map= \n3 2\n00 00 00 \n00 00 00 \n\nown_map= \n3 2\n00 01 02 \n03 04 05 \n\n" +
                   ShiftJisLevel
            << Section32;
        QTest::newRow("UTF-8 with a byte order mark, other sections after")
            << QByteArray("\xEF\xBB\xBFown_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 \r\n\r\nblg_map= \r\n3 2\r\n") << Section32;
        QTest::newRow("a CR at the very end, its LF cut off") << Section32 + "\r" << Section32;
        QTest::newRow("own_map= inside a line is not a section")
            << QByteArray("; see own_map= below\r\n") + Section32 << Section32;
        QTest::newRow("tabs and runs of blanks between tokens")
            << QByteArray("own_map=\t\n 3\t 2 \n00\t01  02\n 03 04 05\t\n") << Section32;
        QTest::newRow("one column of 2501 rows, the largest map")
            << "own_map= \n1 2501\n" + QByteArray("06 \n").repeated(2501)
            << "own_map= \r\n1 2501\r\n" + QByteArray("06 \r\n").repeated(2500) + "06 ";
    }
    void accepted()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, ownMap);
        QCOMPARE(QByteArray::fromStdString(OwnMapOf(text)), ownMap);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("no own_map section: the end of the text")
            << QByteArray("typ_map= \r\n3 2\r\n00 00 00 ") << int(Refusal::NoSection) << 3 << 10;
        QTest::newRow("empty text") << QByteArray() << int(Refusal::NoSection) << 1 << 1;
        QTest::newRow("two sections: the second keyword")
            << Section32 + "\r\n\r\n" + Section32 << int(Refusal::TwoSections) << 6 << 1;
        QTest::newRow("the sizes on the keyword line")
            << QByteArray("own_map= 3 2\r\n") << int(Refusal::TextAfterKeyword) << 1 << 10;
        QTest::newRow("size line of one number") << QByteArray("own_map= \r\n3\r\n") << int(Refusal::SizeNotTwoNumbers) << 2 << 2;
        QTest::newRow("size line with a letter") << QByteArray("own_map= \r\n3 x\r\n") << int(Refusal::SizeNotTwoNumbers) << 2 << 3;
        QTest::newRow("size line of three numbers") << QByteArray("own_map= \n3 2 1\n") << int(Refusal::SizeNotTwoNumbers) << 2 << 5;
        QTest::newRow("no size line") << QByteArray("own_map= ") << int(Refusal::SizeNotTwoNumbers) << 2 << 1;
        QTest::newRow("width 0") << QByteArray("own_map= \n0 10\n") << int(Refusal::SizeNotOpened) << 2 << 1;
        QTest::newRow("negative height") << QByteArray("own_map= \n 10 -1\n") << int(Refusal::SizeNotOpened) << 2 << 2;
        QTest::newRow("2502 sectors") << QByteArray("own_map= \n2 1251\n") << int(Refusal::SizeNotOpened) << 2 << 1;
        QTest::newRow("a size past any integer")
            << QByteArray("own_map= \n99999999999999999999 1\n") << int(Refusal::SizeNotOpened) << 2 << 1;
        QTest::newRow("row of too few tokens: where the next one was due")
            << QByteArray("own_map= \r\n3 2\r\n00 01 \r\n03 04 05 ") << int(Refusal::TooFewTokens) << 3 << 7;
        QTest::newRow("row of too many tokens: the first extra one")
            << QByteArray("own_map= \r\n3 2\r\n00 01 02 \r\n03 04 05 06 ") << int(Refusal::TooManyTokens) << 4 << 10;
        QTest::newRow("token 07") << QByteArray("own_map= \r\n3 2\r\n00 07 02 \r\n03 04 05 ") << int(Refusal::NotAnOwner) << 3 << 4;
        QTest::newRow("token of one digit") << QByteArray("own_map= \n3 2\n00 01 02\n3 04 05\n") << int(Refusal::NotAnOwner) << 4 << 1;
        QTest::newRow("token of three digits") << QByteArray("own_map= \n3 2\n00 001 02\n") << int(Refusal::NotAnOwner) << 3 << 4;
        QTest::newRow("fewer rows: the text ends")
            << QByteArray("own_map= \r\n3 2\r\n00 01 02 ") << int(Refusal::TooFewRows) << 4 << 1;
        QTest::newRow("fewer rows: an empty line")
            << QByteArray("own_map= \r\n3 2\r\n00 01 02 \r\n\r\nhgt_map= ") << int(Refusal::TooFewRows) << 4 << 1;
    }
    void refused()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, refusal);
        QFETCH(int, line);
        QFETCH(int, column);
        const LevelTextReader::Result read = LevelTextReader::Read(text.toStdString());
        QCOMPARE(int(read.refusal), refusal);
        QCOMPARE(int(read.line), line);
        QCOMPARE(int(read.column), column);
        QVERIFY(read.owners.empty());
    }

    // For every size the editor makes, a random map: its level text gives a
    // map file that the editor loads back to the same text, and that map file
    // is the one the editor saves for the map (lock off).
    void roundTripEverySize()
    {
        std::mt19937 random(27);
        const QString path = fixture.PathOf("round.kxgf");
        for (int width = 10; width <= 50; ++width) {
            for (int height = 10; height <= 50; ++height) {
                RandomMap(random, width, height);
                const std::string savedMap = MapModule::MapFileText();
                const std::string levelText = MapModule::BuildLevelText();

                const LevelTextReader::Result read = LevelTextReader::Read(levelText);
                QCOMPARE(int(read.refusal), int(Refusal::None));
                MapModule::ResetDocument();
                fixture.InstallPorts();
                MapModule::TakeOwnMap(read);
                const std::string importedMap = MapModule::MapFileText();
                QCOMPARE(importedMap, savedMap);

                QVERIFY(TestFiles::Write(path, QByteArray::fromStdString(importedMap)));
                MapModule::ResetDocument();
                fixture.InstallPorts();
                QVERIFY(MapModule::LoadMapFile(path.toStdString()));
                QCOMPARE(MapModule::BuildLevelText(), levelText);
            }
        }
    }

    void openedInTheEditor_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("lockBefore");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<std::string>("message");
        QTest::newRow("level text, lock box on: turned off, outer ring kept")
            << ShiftJisLevel + Section32 << 1 << true << std::string();
        QTest::newRow("refused text: the place in the message")
            << QByteArray("own_map= \n3 2\n00 01 02\n03 09 05\n") << 0 << false
            << std::string("レベルデータを読み込めません・・・ロードを中止します\n{path}:4:4\nオーナー 00 から 06 のどれでもないトークンです");
        QTest::newRow("no own_map, no header: the map file's message") << QByteArray("typ_map= \n") << 0 << false
                                                                      << HeaderMessage;
    }
    void openedInTheEditor()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, lockBefore);
        QFETCH(bool, taken);
        QFETCH(std::string, message);
        fixture.StartMap(12, 12);
        fixture.lockBox->Preset(lockBefore);
        MapModule::CurrentFileName = "earlier.kxgf";
        MapModule::MapTiedToCurrentFile = true;
        const QList<int> gridBefore = MapFileFixture::Grid();
        const std::string path = MapFileFixture::Std(fixture.PathOf("level.txt"));
        QVERIFY(TestFiles::Write(QString::fromStdString(path), file));

        QCOMPARE(MapModule::LoadMapOrLevelText(path), taken);
        if (!taken) {
            const std::size_t at = message.find("{path}");
            if (at != std::string::npos)
                message.replace(at, 6, path);
            fixture.VerifyMessage(message);
            QCOMPARE(MapFileFixture::Grid(), gridBefore);
            QCOMPARE(MapModule::MapWidth, 12);
            QVERIFY(MapModule::MapTiedToCurrentFile);
            return;
        }
        QCOMPARE(fixture.messages->Count(), 0);
        QCOMPARE(fixture.lockBox->Value(), 0);
        QCOMPARE(QByteArray::fromStdString(MapModule::BuildOwnMapText()), Section32);
        QCOMPARE(fixture.window->openCalls, 1);
        QCOMPARE(MapModule::MapChanged, MapModule::True);
        QVERIFY(!MapModule::MapTiedToCurrentFile);  // Save asks for a name
        QCOMPARE(MapModule::CurrentFileName, std::string("earlier.kxgf"));
    }
};

QTEST_MAIN(TestLevelTextReader)
#include "tst_document_leveltextreader.moc"
