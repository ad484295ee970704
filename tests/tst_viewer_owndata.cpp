#include "document/LevelText.h"
#include "document/MapModule.h"
#include "document/OwnMapColoring.h"
#include "document/OwnerTable.h"
#include "support/AccessibleLookup.h"
#include "support/ColorOwnMapTextLiteral.h"
#include "viewer/QtRichTextPort.h"
#include "viewer/frmOwnData.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <cmath>
#include <string>

namespace {

// A map whose sector s belongs to owner (s * 5 + s / 7) % 7: every owner
// appears, in an irregular pattern.
void FillMixedMap(int width, int height)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    for (int s = 0; s < width * height; ++s)
        MapModule::OwnerGrid.Set(s, (s * 5 + s / 7) % 7);
}

// The format of one character; a line break has none.
QTextCharFormat FormatAt(QTextEdit& box, int position)
{
    const QTextBlock block = box.document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    return {};
}

QColor ColourAt(QTextEdit& box, int position) { return FormatAt(box, position).foreground().color(); }

bool HasOwnColour(QTextEdit& box, int position)
{
    return FormatAt(box, position).hasProperty(QTextFormat::ForegroundBrush);
}

// Where sector s's token starts in the box's text: after the two header lines,
// row r starts after r full rows of 3 * width characters and a line break each.
int TokenPosition(const QString& text, int width, int s)
{
    const int firstRow = text.indexOf('\n', text.indexOf('\n') + 1) + 1;
    return firstRow + (s / width) * (3 * width + 1) + (s % width) * 3;
}

// Selects from column x of line y of `from` to column x of line y of `to`,
// copies, and returns what the clipboard holds as text/plain.
template <typename Box>
QByteArray CopyRange(Box& box, QPoint from, QPoint to)
{
    const auto at = [&](QPoint p) { return box.document()->findBlockByNumber(p.y()).position() + p.x(); };
    QTextCursor cursor(box.document());
    cursor.setPosition(at(from));
    cursor.setPosition(at(to), QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    box.copy();
    return QApplication::clipboard()->mimeData()->data("text/plain");
}

// The same range cut out of a text whose lines end in CR LF.
QByteArray RangeOf(const std::string& text, QPoint from, QPoint to)
{
    const QStringList lines = QString::fromStdString(text).split("\r\n");
    QString range = lines.mid(from.y(), to.y() - from.y() + 1).join("\r\n");
    range.chop(lines[to.y()].size() - to.x());
    return range.mid(from.x()).toLatin1();
}

struct Viewer {
    Viewer() : window(new frmOwnData) {}
    ~Viewer() { delete window.data(); }
    template <typename T>
    T* Child(const char* name) { return window->findChild<T*>(QString::fromLatin1(name)); }
    QPointer<frmOwnData> window;
};

}  // namespace

namespace {
// Pixels of c, drawn black on white in font, that a reader sees as ink.
int InkPixels(const QFont& font, QChar c)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(8, 32, QString(c));
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return ink;
}
}  // namespace

class TestOwnDataViewer : public QObject {
    Q_OBJECT
public:
    // As on a Japanese desktop, where the fixed-pitch font is a Japanese gothic.
    static void initMain() { qputenv("FC_LANG", "ja"); }

private slots:
    void init() { MapModule::ResetDocument(); }

    void everyCharacterOfTheTextIsLegible()
    {
        Viewer viewer;
        for (const char* box : {"Text1", "rtftext"}) {
            const QFont font = viewer.Child<QWidget>(box)->font();
            for (const char c : std::string("typ_mownhgtbl=0123456789")) {
                if (InkPixels(font, QChar(c)) < 3)
                    QFAIL(qPrintable(QString("%1: \"%2\" is hardly visible in %3")
                                         .arg(box, QChar(c), QFontInfo(font).family())));
            }
        }
    }

    void windowAndControls()
    {
        Viewer viewer;
        QCOMPARE(viewer.window->windowTitle(), QString("マップデータ"));
        QVERIFY(viewer.window->isWindow());
        QVERIFY(viewer.window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(viewer.window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(viewer.window->testAttribute(Qt::WA_DeleteOnClose));
        const QImage icon = viewer.window->windowIcon().pixmap(32).toImage();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon, QIcon(":/icons/app.png").pixmap(32).toImage());  // the program's icon
        auto* tabs = viewer.Child<QTabBar>("TS1");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("データ表示"));
        QCOMPARE(tabs->tabText(1), QString("ビジュアル表示(非常に時間がかかります)"));
        QCOMPARE(viewer.Child<QPushButton>("Command1")->text(), QString("背景の変更(&B)"));
        QCOMPARE(viewer.Child<QPushButton>("Command2")->text(), QString("×"));
        QCOMPARE(viewer.window->TwipGeometry("rtftext"), QRect(170, 480, 7575, 6015));
        QCOMPARE(viewer.window->TwipGeometry("Command2"), QRect(7440, 0, 390, 375));

        QPointer<frmOwnData> closed = viewer.window;
        viewer.Child<QPushButton>("Command2")->click();
        QTRY_VERIFY(closed.isNull());
    }

    void readerNames_data()
    {
        AddAccessibleColumns();
        QTest::newRow("a window, not a plain area") << "" << int(QAccessible::Window) << "マップデータ" << "";
        QTest::newRow("text of tab 1") << "Text1" << int(QAccessible::EditableText) << "データ表示のテキスト" << "";
        QTest::newRow("text of tab 2") << "rtftext" << int(QAccessible::EditableText) << "ビジュアル表示のテキスト" << "";
        QTest::newRow("progress bar") << "PB1" << int(QAccessible::ProgressBar) << "色付けの進み具合" << "";
        QTest::newRow("close button") << "Command2" << int(QAccessible::Button) << "マップデータを閉じる" << "";
    }
    void readerNames()
    {
        frmOwnData viewer;
        VerifyAccessibleRow(viewer);
    }

    void textIsTheLevelText_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("no map") << 0 << 0;
        QTest::newRow("10x10") << 10 << 10;
        QTest::newRow("50x37") << 50 << 37;
    }
    void textIsTheLevelText()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        FillMixedMap(width, height);
        const std::string level = MapModule::BuildLevelText();
        const std::string ownMap = MapModule::BuildOwnMapText();
        Viewer viewer;
        MapModule::OwnerGrid.Set(0, 6);  // later edits are not shown
        auto* text1 = viewer.Child<QPlainTextEdit>("Text1");
        auto* rtftext = viewer.Child<QTextEdit>("rtftext");
        QVERIFY(text1->isReadOnly());
        QCOMPARE(text1->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text1->toPlainText(), QString::fromStdString(level).replace("\r\n", "\n"));
        QCOMPARE(rtftext->toPlainText(), QString::fromStdString(ownMap).replace("\r\n", "\n"));

        // Copies carry the text's own CR LF line ends, whole or in part.
        text1->selectAll();
        text1->copy();
        QCOMPARE(QApplication::clipboard()->mimeData()->data("text/plain"), QByteArray::fromStdString(level));
        QCOMPARE(CopyRange(*text1, {1, 1}, {2, 4}), RangeOf(level, {1, 1}, {2, 4}));
        viewer.Child<QTabBar>("TS1")->setCurrentIndex(1);
        rtftext->selectAll();
        rtftext->copy();
        QCOMPARE(QApplication::clipboard()->mimeData()->data("text/plain"), QByteArray::fromStdString(ownMap));
        const QPoint end(0, rtftext->document()->blockCount() - 1);
        QCOMPARE(CopyRange(*rtftext, {4, 0}, end), RangeOf(ownMap, {4, 0}, end));
    }

    // The viewer is there to be copied from: opened, Ctrl+A and Ctrl+C copy
    // the whole text, with no Tab or click first.
    void copiedByKeyboardAtOnce()
    {
        FillMixedMap(10, 10);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        Viewer viewer;
        viewer.window->show();
        QVERIFY(QTest::qWaitForWindowActive(viewer.window));
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->mimeData()->data("text/plain"),
                 QByteArray::fromStdString(MapModule::BuildLevelText()));
    }

    void tabsSwitchBoxes_data()
    {
        QTest::addColumn<QList<int>>("tabs");
        QTest::addColumn<bool>("text1Shown");
        QTest::addColumn<bool>("commandShown");
        QTest::addColumn<QString>("tab2Caption");
        QTest::newRow("start") << QList<int>{} << true << false << "ビジュアル表示(非常に時間がかかります)";
        QTest::newRow("tab 2") << QList<int>{1} << false << true << "ビジュアル表示";
        QTest::newRow("tab 2 then 1") << QList<int>{1, 0} << true << false << "ビジュアル表示";
        QTest::newRow("2, 1, 2") << QList<int>{1, 0, 1} << false << true << "ビジュアル表示";
    }
    void tabsSwitchBoxes()
    {
        QFETCH(QList<int>, tabs);
        QFETCH(bool, text1Shown);
        QFETCH(bool, commandShown);
        QFETCH(QString, tab2Caption);
        FillMixedMap(10, 10);
        Viewer viewer;
        viewer.window->show();
        auto* tabBar = viewer.Child<QTabBar>("TS1");
        for (int tab : tabs)
            tabBar->setCurrentIndex(tab);
        QCOMPARE(viewer.Child<QPlainTextEdit>("Text1")->isVisible(), text1Shown);
        QCOMPARE(viewer.Child<QTextEdit>("rtftext")->isVisible(), !text1Shown);
        QCOMPARE(viewer.Child<QPushButton>("Command1")->isVisible(), commandShown);
        QCOMPARE(tabBar->tabText(1), tab2Caption);
        QCOMPARE(viewer.window->IsColoured(), !tabs.isEmpty());
        QCOMPARE(viewer.Child<QProgressBar>("PB1")->isVisible(), tabs.isEmpty());
    }

    void tokensTakeOwnerColours_data()
    {
        QTest::addColumn<int>("owner");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0 target") << 0 << QColor(255, 128, 64);
        QTest::newRow("1") << 1 << QColor(0, 0, 255);
        QTest::newRow("2") << 2 << QColor(0, 255, 0);
        QTest::newRow("3 button face") << 3 << QColor(240, 240, 240);
        QTest::newRow("4") << 4 << QColor(255, 255, 0);
        QTest::newRow("5") << 5 << QColor(150, 150, 150);
        QTest::newRow("6") << 6 << QColor(255, 0, 0);
    }
    void tokensTakeOwnerColours()
    {
        QFETCH(int, owner);
        QFETCH(QColor, colour);
        FillMixedMap(12, 10);
        for (int s : {0, 13, 119})
            MapModule::OwnerGrid.Set(s, owner);
        Viewer viewer;
        viewer.Child<QTabBar>("TS1")->setCurrentIndex(1);
        auto& box = *viewer.Child<QTextEdit>("rtftext");
        const QString text = box.toPlainText();
        for (int s : {0, 13, 119}) {
            const int at = TokenPosition(text, 12, s);
            QCOMPARE(text.mid(at, 3), QString("0%1 ").arg(owner));
            QCOMPARE(ColourAt(box, at), colour);
            QCOMPARE(ColourAt(box, at + 1), colour);
            QCOMPARE(ColourAt(box, at + 2), colour);  // the space after it, which shows no colour
        }
        QVERIFY(!HasOwnColour(box, 0));  // header line
    }

    void colouringMatchesStepByStepInTextBox_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("withoutOwner3");
        QTest::newRow("10x10 mixed") << 10 << 10 << false;
        QTest::newRow("17x11 without owner 3") << 17 << 11 << true;
    }
    void colouringMatchesStepByStepInTextBox()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, withoutOwner3);
        FillMixedMap(width, height);
        if (withoutOwner3)
            for (int s = 0; s < width * height; ++s)
                if (MapModule::OwnerGrid.At(s) == 3)
                    MapModule::OwnerGrid.Set(s, 2);
        Viewer viewer;
        viewer.window->show();
        viewer.Child<QTabBar>("TS1")->setCurrentIndex(1);
        auto& shown = *viewer.Child<QTextEdit>("rtftext");
        auto& shownBar = *viewer.Child<QProgressBar>("PB1");

        QTextEdit reference;
        QProgressBar referenceBar;
        referenceBar.setRange(0, 100);
        referenceBar.setValue(0);
        reference.setPlainText(shown.toPlainText());
        QtRichTextPort port(reference, referenceBar);
        ColorOwnMapTextLiteral(port);

        QVERIFY(!shownBar.isVisible());
        QCOMPARE(shownBar.maximum(), referenceBar.maximum());
        QCOMPARE(shownBar.maximum(), 7 * shown.toPlainText().size());
        QCOMPARE(shownBar.value(), referenceBar.value());
        QVERIFY(shownBar.value() > 0);
        // Every character that shows takes the colour the step-by-step colouring
        // gives it; a space takes none or that of the character before it.
        const QString text = shown.toPlainText();
        int coloured = 0;
        for (int c = 0; c < text.size(); ++c) {
            if (text[c] == u' ') {
                QVERIFY(!HasOwnColour(shown, c) || ColourAt(shown, c) == ColourAt(shown, c - 1));
                continue;
            }
            QCOMPARE(HasOwnColour(shown, c), HasOwnColour(reference, c));
            QCOMPARE(ColourAt(shown, c), ColourAt(reference, c));
            coloured += HasOwnColour(shown, c) ? 1 : 0;
        }
        QCOMPARE(coloured, 2 * width * height);

        // And the box shows the very picture of the step-by-step colouring, with
        // any real font: a space has no ink. (Qt with no font at all, as under
        // wine without a display, draws every character as a box, spaces too.)
        if (InkPixels(shown.font(), u' ') > 0)
            QSKIP("no font here draws a blank space");
        const QImage picture = shown.viewport()->grab().toImage();
        QTextCursor all(shown.document());
        all.select(QTextCursor::Document);
        all.setCharFormat(FormatAt(shown, 0));
        QtRichTextPort again(shown, shownBar);
        ColorOwnMapTextLiteral(again);
        const int firstToken = TokenPosition(text, width, 0);
        QVERIFY(HasOwnColour(shown, firstToken) && !HasOwnColour(shown, firstToken + 2));
        QCOMPARE(shown.viewport()->grab().toImage(), picture);
    }

    void secondVisitDoesNotColourAgain()
    {
        FillMixedMap(10, 10);
        Viewer viewer;
        auto* tabs = viewer.Child<QTabBar>("TS1");
        auto& box = *viewer.Child<QTextEdit>("rtftext");
        tabs->setCurrentIndex(1);
        const int value = viewer.Child<QProgressBar>("PB1")->value();
        const int at = TokenPosition(box.toPlainText(), 10, 5);
        QTextCursor cursor(box.document());
        cursor.setPosition(at);
        cursor.setPosition(at + 2, QTextCursor::KeepAnchor);
        QTextCharFormat marker;
        marker.setForeground(QColor(1, 2, 3));
        cursor.mergeCharFormat(marker);
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(1);
        QCOMPARE(ColourAt(box, at), QColor(1, 2, 3));
        QCOMPARE(viewer.Child<QProgressBar>("PB1")->value(), value);
        QCOMPARE(tabs->tabText(1), QString("ビジュアル表示"));
    }

    void backgroundSwitch_data()
    {
        QTest::addColumn<int>("presses");
        QTest::addColumn<QColor>("background");
        QTest::newRow("none") << 0 << QColor(Qt::white);
        QTest::newRow("once") << 1 << QColor(Qt::black);
        QTest::newRow("twice") << 2 << QColor(Qt::white);
        QTest::newRow("three times") << 3 << QColor(Qt::black);
        QTest::newRow("Enter on the focused button") << -1 << QColor(Qt::black);
    }
    void backgroundSwitch()
    {
        QFETCH(int, presses);
        QFETCH(QColor, background);
        FillMixedMap(10, 10);
        Viewer viewer;
        viewer.Child<QTabBar>("TS1")->setCurrentIndex(1);
        for (int n = 0; n < presses; ++n)
            viewer.Child<QPushButton>("Command1")->click();
        if (presses < 0) {
            auto* button = viewer.Child<QPushButton>("Command1");
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key_Return);
        }
        const QPalette palette = viewer.Child<QTextEdit>("rtftext")->palette();
        QCOMPARE(palette.color(QPalette::Base), background);
        QVERIFY(palette.color(QPalette::Text) != background);  // plain text stays readable
        QCOMPARE(viewer.window->IsDarkBackground(), presses % 2 != 0);
    }

    void resizeRule_data()
    {
        QTest::addColumn<QList<QSize>>("outerSizes");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twips");
        const QList<QSize> wider{{9085, 7830}};
        QTest::newRow("wider: Command2") << wider << "Command2" << QRect(8420, 0, 390, 375);
        QTest::newRow("wider: TS1") << wider << "TS1" << QRect(120, 120, 8695, 6615);
        QTest::newRow("wider: Text1") << wider << "Text1" << QRect(170, 480, 8575, 5955);
        QTest::newRow("wider: PB1") << wider << "PB1" << QRect(120, 6845, 8695, 375);
        QTest::newRow("wider: rtftext") << wider << "rtftext" << QRect(170, 480, 8575, 6135);
        QTest::newRow("wider: Command1") << wider << "Command1" << QRect(7100, 6800, 1695, 495);
        const QList<QSize> both{{8685, 8430}};
        QTest::newRow("both: PB1") << both << "PB1" << QRect(120, 7445, 8295, 375);
        QTest::newRow("both: Command1") << both << "Command1" << QRect(6700, 7400, 1695, 495);
        QTest::newRow("exact start size keeps first layout")
            << QList<QSize>{{8085, 7830}} << "rtftext" << QRect(170, 480, 7575, 6015);
        QTest::newRow("narrower moves nothing") << QList<QSize>{{7000, 9000}} << "TS1" << QRect(120, 120, 7695, 6615);
        QTest::newRow("shrinking keeps last layout")
            << QList<QSize>{{9085, 7830}, {8000, 7830}} << "Command2" << QRect(8420, 0, 390, 375);
        QTest::newRow("taller then width below start")
            << QList<QSize>{{8085, 8830}, {8084, 9830}} << "Text1" << QRect(170, 480, 7575, 6955);
    }
    void resizeRule()
    {
        QFETCH(QList<QSize>, outerSizes);
        QFETCH(QString, control);
        QFETCH(QRect, twips);
        Viewer viewer;
        for (const QSize& size : outerSizes)
            viewer.window->ApplyOuterSize(size.width(), size.height());
        QCOMPARE(viewer.window->TwipGeometry(control), twips);
        const auto px = [](int twipsValue) { return static_cast<int>(std::nearbyint(twipsValue / 15.0)); };
        const QRect pixels(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
        const QRect placed = viewer.window->findChild<QWidget*>(control)->geometry();
        if (control == "TS1")  // the tab row; the strip's frame fills the rest
            QCOMPARE(placed.topLeft(), pixels.topLeft());
        else
            QCOMPARE(placed, pixels);
    }

    void resizingTheWindowFollowsTheRule()
    {
        Viewer viewer;
        viewer.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.window));
        viewer.window->resize(viewer.window->width() + 100, viewer.window->height());
        QCOMPARE(viewer.window->TwipGeometry("Command2"), QRect(7420 + 1500, 0, 390, 375));
        viewer.window->resize(viewer.window->width() - 200, viewer.window->height() + 50);
        QCOMPARE(viewer.window->TwipGeometry("Command2"), QRect(7420 + 1500, 0, 390, 375));
        QCOMPARE(viewer.window->TwipGeometry("PB1"), QRect(120, 6845, 7695 + 1500, 375));
    }
};

QTEST_MAIN(TestOwnDataViewer)
#include "tst_viewer_owndata.moc"
