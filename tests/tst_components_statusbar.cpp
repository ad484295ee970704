#include "base/Cp932.h"
#include "components/ClsStatusBar.h"
#include "components/StatusBarStyles.h"

#include <QtTest>

#include <map>
#include <optional>

namespace {
// A status window in memory that keeps what it is told, like the native one.
class FakeStatusWindow : public StatusWindowPort {
public:
    static constexpr WindowHandle Parent = 0x10;
    static constexpr WindowHandle Status = 0x20;

    bool failCreate = false;
    bool refuseParts = false;
    bool refuseText = false;
    int refuseHeightAbove = 1000;
    int creations = 0;
    std::uint32_t style = 0;
    int minHeight = -1;
    int backColorCalls = 0;
    ColorWord backColor{};
    std::vector<int> edges;
    std::map<int, std::string> texts;
    std::map<int, std::uint32_t> flags;
    int moves = 0;
    int moveY = 0;
    bool destroyed = false;
    ScreenRect parentRect{100, 50, 100 + 640, 50 + 480};
    ScreenRect statusRect{100, 50 + 480 - 22, 100 + 640, 50 + 480};

    WindowHandle CreateStatusWindow(std::uint32_t s, WindowHandle parent) override
    {
        ++creations;
        style = s;
        return failCreate || parent != Parent ? 0 : Status;
    }
    void SetParent(WindowHandle, WindowHandle) override {}
    int SetMinHeight(WindowHandle, int height) override
    {
        if (height > refuseHeightAbove)
            return 1;
        minHeight = height;
        return 0;
    }
    void SetBackColor(WindowHandle, ColorWord rgb) override
    {
        ++backColorCalls;
        backColor = rgb;
    }
    bool SetParts(WindowHandle, const std::vector<int>& rightEdges) override
    {
        if (refuseParts)
            return false;
        edges = rightEdges;
        return true;
    }
    bool SetText(WindowHandle, std::uint32_t partAndFlags, const std::string& text) override
    {
        if (refuseText)
            return false;
        const int part = static_cast<int>(partAndFlags & 0xFFu);
        texts[part] = text;
        flags[part] = partAndFlags & StatusBarStyles::DrawFlagsMask;
        return true;
    }
    std::uint32_t GetTextLength(WindowHandle, int part) override
    {
        return static_cast<std::uint32_t>(Cp932::ByteLength(texts[part])) | (flags[part] << 16);
    }
    std::string GetText(WindowHandle, int part, std::size_t bufferSize) override
    {
        return Cp932::Prefix(texts[part], bufferSize - 1);
    }
    bool GetWindowRect(WindowHandle window, ScreenRect& rect) override
    {
        if (window == Parent && !destroyed) {
            rect = parentRect;
            return true;
        }
        if (window == Status && !destroyed) {
            rect = statusRect;
            return true;
        }
        return false;
    }
    bool MoveWindow(WindowHandle, int, int y, int, int, bool) override
    {
        ++moves;
        moveY = y;
        return true;
    }
    void DestroyWindow(WindowHandle) override { destroyed = true; }
};

struct PartSpec {
    int width;
    int style = 0;
    std::string text = "x";
    int drawStyle = 0;
};
}

Q_DECLARE_METATYPE(QList<PartSpec>)

class TestStatusBar : public QObject {
    Q_OBJECT
    // Every test row's own fake window and a bar on it.
    FakeStatusWindow window;
    std::optional<ClsStatusBar> bar;

    // Creates the bar as the frame does (at the bottom, in the window colour),
    // adds the parts and draws it.
    void Show(const QList<PartSpec>& parts, bool grip = true, int height = 0)
    {
        QCOMPARE(bar->CreateStatusBar(FakeStatusWindow::Parent, 2, grip, height, 0x80000005u), 0);
        for (const PartSpec& p : parts)
            bar->SetStatusBarParts(p.text, p.width, static_cast<std::int16_t>(p.style),
                                   static_cast<std::int16_t>(p.drawStyle));
        QCOMPARE(bar->DrawStatusBar(), 0);
    }

private slots:
    void init()
    {
        bar.reset();
        window = FakeStatusWindow();
        bar.emplace(window);
    }

    void layout_data()
    {
        QTest::addColumn<int>("parentWidth");
        QTest::addColumn<bool>("grip");
        QTest::addColumn<QList<PartSpec>>("parts");
        QTest::addColumn<QList<int>>("edges");
        QTest::addColumn<QList<int>>("styles");

        QTest::newRow("the frame's part stays at 300") << 800 << true << QList<PartSpec>{{300, 0}}
                                                       << QList<int>{300} << QList<int>{0};
        QTest::newRow("frame's part, narrow frame") << 200 << true << QList<PartSpec>{{300, 0}}
                                                    << QList<int>{300} << QList<int>{0};
        QTest::newRow("stretching last part, grip") << 640 << true << QList<PartSpec>{{100, 0}, {50, 1}}
                                                    << QList<int>{100, 616} << QList<int>{0, 1};
        QTest::newRow("stretching last part, no grip") << 640 << false << QList<PartSpec>{{100, 0}, {50, 1}}
                                                       << QList<int>{100, 640} << QList<int>{0, 1};
        QTest::newRow("stretch passes to later parts") << 640 << true
            << QList<PartSpec>{{100, 0}, {50, 1}, {70, 0}} << QList<int>{100, 546, 616} << QList<int>{0, 1, 1};
        QTest::newRow("first part stretches") << 500 << false << QList<PartSpec>{{80, 1}, {40, 0}, {60, 0}}
                                              << QList<int>{400, 440, 500} << QList<int>{1, 1, 1};
        QTest::newRow("style 2 stretches but is not passed on") << 640 << false
            << QList<PartSpec>{{100, 2}, {50, 0}} << QList<int>{590, 150} << QList<int>{2, 0};
        QTest::newRow("fixed parts add up") << 640 << false << QList<PartSpec>{{100, 0}, {50, 0}, {25, 0}}
                                            << QList<int>{100, 150, 175} << QList<int>{0, 0, 0};
    }
    void layout()
    {
        QFETCH(int, parentWidth);
        QFETCH(bool, grip);
        QFETCH(QList<PartSpec>, parts);
        QFETCH(QList<int>, edges);
        QFETCH(QList<int>, styles);

        window.parentRect.right = window.parentRect.left + parentWidth;
        Show(parts, grip);
        QCOMPARE(QList<int>(window.edges.begin(), window.edges.end()), edges);
        for (int i = 0; i < styles.size(); ++i)
            QCOMPARE(int(bar->Part(i).Style), styles[i]);
        QCOMPARE(window.moves, 1);
    }

    void sentinelEntry()
    {
        bar->SetStatusBarParts("a", 40, 0, 1);
        bar->SetStatusBarParts("b", 60, 0, 2);
        QCOMPARE(bar->PartCount(), std::int16_t(2));
        QCOMPARE(bar->Part(-1).Right, 0);
        QVERIFY(bar->Part(-1).Text.empty());
        QCOMPARE(bar->Part(1).Right, 100);
        QCOMPARE(bar->Part(1).Index, std::int16_t(1));
        QCOMPARE(bar->Part(0).DrawFlags, 0x200u);
        QCOMPARE(bar->Part(1).DrawFlags, 0x100u);
    }

    void creation_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("grip");
        QTest::addColumn<int>("height");
        QTest::addColumn<quint32>("backColor");
        QTest::addColumn<quint32>("style");
        QTest::addColumn<int>("sentHeight");
        QTest::addColumn<int>("colourCalls");
        QTest::addColumn<quint32>("sentColour");

        QTest::newRow("the frame's bar") << 2 << true << 0 << 0x80000005u << 0x56000903u << -1 << 0 << 0u;
        QTest::newRow("top, no grip, height") << 0 << false << 30 << 0x0000FFu << 0x56000801u << 30 << 1 << 0xFFu;
        QTest::newRow("right") << 1 << false << 0 << 0x80000005u << 0x56000883u << -1 << 0 << 0u;
        QTest::newRow("left with grip") << 3 << true << 0 << 0x80000005u << 0x56000981u << -1 << 0 << 0u;
        QTest::newRow("position 4 adds nothing") << 4 << false << 0 << 0x80000005u << 0x56000800u << -1 << 0 << 0u;
        QTest::newRow("black is a colour") << 2 << false << 0 << 0u << 0x56000803u << -1 << 1 << 0u;
        QTest::newRow("other system colour is resolved") << 2 << false << 0 << 0x8000000Fu << 0x56000803u << -1
                                                         << 1 << 0xF0F0F0u;
    }
    void creation()
    {
        QFETCH(int, position);
        QFETCH(bool, grip);
        QFETCH(int, height);
        QFETCH(quint32, backColor);
        QFETCH(quint32, style);
        QFETCH(int, sentHeight);
        QFETCH(int, colourCalls);
        QFETCH(quint32, sentColour);

        QCOMPARE(bar->CreateStatusBar(FakeStatusWindow::Parent, position, grip, height, backColor), 0);
        QCOMPARE(window.style, style);
        QCOMPARE(window.minHeight, sentHeight);
        QCOMPARE(bar->STBHeight(), height);
        QCOMPARE(window.backColorCalls, colourCalls);
        if (colourCalls > 0)
            QCOMPARE(window.backColor.value, sentColour);
        QCOMPARE(bar->GetSTBHandle(), FakeStatusWindow::Status);
        QCOMPARE(bar->ShowGrip(), grip);
    }

    void creationResults()
    {
        QCOMPARE(bar->CreateStatusBar(FakeStatusWindow::Parent, 2, true, 0, 0x80000005u), 0);
        QCOMPARE(bar->CreateStatusBar(FakeStatusWindow::Parent, 0, false, 40, 0xFFu), -1);
        QCOMPARE(window.creations, 1);
        QCOMPARE(bar->ShowGrip(), true);
        QCOMPARE(bar->STBHeight(), 0);

        FakeStatusWindow failing;
        failing.failCreate = true;
        ClsStatusBar other(failing);
        QCOMPARE(other.CreateStatusBar(FakeStatusWindow::Parent, 2, true, 0, 0x80000005u), -2);
        QCOMPARE(other.GetSTBHandle(), WindowHandle{0});
        other.SetStatusBarParts("x", 10, 0, 0);
        QCOMPARE(other.DrawStatusBar(), 0);
        QVERIFY(failing.edges.empty());
    }

    void textLengths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("drawStyle");
        QTest::newRow("frame text") << "Gridforge First Release Version" << "Gridforge First Release Version"
                                    << 31 << 31 << 0;
        QTest::newRow("two double-byte characters") << "置換" << "置換" << 2 << 4 << 0;
        QTest::newRow("double-byte, raised") << "置換" << "置換" << 2 << 4 << 1;
        QTest::newRow("half-width katakana is one byte") << "ｶﾅ" << "ｶﾅ" << 2 << 2 << 2;
        QTest::newRow("mixed") << "MAP & データ" << "MAP & データ" << 9 << 12 << 0;
        QTest::newRow("empty") << "" << "" << 0 << 0 << 0;
        QTest::newRow("character outside the code page") << "a€b😀" << "a?b?" << 4 << 4 << 0;
    }
    void textLengths()
    {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        QFETCH(int, characters);
        QFETCH(int, bytes);
        QFETCH(int, drawStyle);

        Show({{100, 0, "first"}, {100, 0, "second", drawStyle}});
        bar->STBText(1, text.toStdString());
        QCOMPARE(QString::fromStdString(bar->STBText(1)), readBack);
        QCOMPARE(QString::fromStdString(bar->Part(1).Text), readBack);
        QCOMPARE(bar->GetSTBTextLen(1), characters);
        QCOMPARE(bar->GetSTBTextLenB(1), bytes);
        QCOMPARE(QString::fromStdString(bar->STBText(0)), QStringLiteral("first"));
    }

    void outOfRangeIndices_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("n") << 2;
        QTest::newRow("far") << 300;
        QTest::newRow("most negative") << -32768;
    }
    void outOfRangeIndices()
    {
        QFETCH(int, index);
        Show({{100, 0, "a"}, {100, 0, "b"}});
        const auto i = static_cast<std::int16_t>(index);
        QCOMPARE(bar->STBText(i), std::string());
        QCOMPARE(bar->GetSTBTextLen(i), -1);
        QCOMPARE(bar->GetSTBTextLenB(i), -1);
        bar->STBText(i, "changed");
        bar->SetSTBPartStyle(i, 1);
        QCOMPARE(window.texts[0], std::string("a"));
        QCOMPARE(window.texts[1], std::string("b"));
        QCOMPARE(window.flags[0], 0u);
        QCOMPARE(window.flags[1], 0u);
        QCOMPARE(bar->Part(-1).Text, std::string());
    }

    void partStyle_data()
    {
        QTest::addColumn<int>("drawStyle");
        QTest::addColumn<quint32>("flags");
        QTest::newRow("sunken") << 0 << 0u;
        QTest::newRow("raised") << 1 << 0x200u;
        QTest::newRow("no borders") << 2 << 0x100u;
        QTest::newRow("3 is sunken") << 3 << 0u;
        QTest::newRow("negative is sunken") << -1 << 0u;
    }
    void partStyle()
    {
        QFETCH(int, drawStyle);
        QFETCH(quint32, flags);
        Show({{100, 0, "置換", 2}});
        bar->SetSTBPartStyle(0, drawStyle);
        QCOMPARE(bar->Part(0).DrawFlags, flags);
        QCOMPARE(window.flags[0], flags);
        QCOMPARE(bar->GetSTBTextLenB(0), 4);  // the drawing type in the high bits is dropped
        QCOMPARE(window.moves, 2);

        ClsStatusBar added(window);
        added.SetStatusBarParts("x", 10, 0, static_cast<std::int16_t>(drawStyle));
        QCOMPARE(added.Part(0).DrawFlags, flags);
    }

    void height_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("moves");
        QTest::newRow("accepted") << 40 << 40 << 40 << 2;
        QTest::newRow("zero sends nothing") << 0 << 0 << -1 << 2;
        QTest::newRow("negative is refused") << -5 << 25 << -1 << 1;
        QTest::newRow("window refuses") << 5000 << 25 << -1 << 1;
    }
    void height()
    {
        QFETCH(int, height);
        QFETCH(int, stored);
        QFETCH(int, sent);
        QFETCH(int, moves);
        Show({{10}}, true, 25);
        window.minHeight = -1;
        bar->STBHeight(height);
        QCOMPARE(bar->STBHeight(), stored);
        QCOMPARE(window.minHeight, sent);
        QCOMPARE(window.moves, moves);
    }

    void drawStopsQuietly_data()
    {
        QTest::addColumn<bool>("refuseParts");
        QTest::addColumn<bool>("refuseText");
        QTest::addColumn<bool>("textsSent");
        QTest::addColumn<int>("moves");
        QTest::newRow("all taken") << false << false << true << 1;
        QTest::newRow("parts refused") << true << false << false << 0;
        QTest::newRow("text refused") << false << true << false << 0;
    }
    void drawStopsQuietly()
    {
        QFETCH(bool, refuseParts);
        QFETCH(bool, refuseText);
        QFETCH(bool, textsSent);
        QFETCH(int, moves);
        window.refuseParts = refuseParts;
        window.refuseText = refuseText;
        Show({{10}});
        QCOMPARE(window.texts.count(0) == 1, textsSent);
        QCOMPARE(window.moves, moves);
    }

    void beforeCreationAndAfterDestruction()
    {
        QCOMPARE(bar->DrawStatusBar(), 0);  // no window yet: nothing happens
        QCOMPARE(window.moves, 0);
        bar->CreateStatusBar(FakeStatusWindow::Parent, 2, true, 0, 0x80000005u);
        QCOMPARE(bar->DrawStatusBar(), 0);  // window without parts: only re-fitted
        QCOMPARE(window.moves, 1);
        QVERIFY(window.edges.empty());
        bar->SetStatusBarParts("x", 10, 0, 0);
        bar->DestroyStatusBar();
        QVERIFY(window.destroyed);
        QCOMPARE(bar->GetSTBHandle(), WindowHandle{0});
        bar->DrawStatusBar();
        QCOMPARE(bar->STBText(0), std::string());
        QCOMPARE(bar->GetSTBTextLenB(0), 0);
        QVERIFY(window.edges.empty());
    }

    void partTableIsBounded()
    {
        for (int i = 0; i < ClsStatusBar::MaxParts + 5; ++i)
            bar->SetStatusBarParts("p", 2, 0, 0);
        QCOMPARE(int(bar->PartCount()), ClsStatusBar::MaxParts);
        bar->SetStatusBarParts("huge", 2147483647, 0, 0);
        QCOMPARE(bar->Part(ClsStatusBar::MaxParts - 1).Right, 2 * ClsStatusBar::MaxParts);

        ClsStatusBar wide(window);
        wide.SetStatusBarParts("a", 2147483000, 0, 0);
        wide.SetStatusBarParts("b", 2147483000, 0, 0);
        QCOMPARE(wide.Part(1).Right, 2147483647);
    }
};

QTEST_GUILESS_MAIN(TestStatusBar)
#include "tst_components_statusbar.moc"
