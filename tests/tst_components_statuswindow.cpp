#include "components/ClsStatusBar.h"
#include "components/qt/QtStatusWindow.h"
#include "components/qt/QtStatusWindowPort.h"

#include <QMainWindow>
#include <QtTest>

namespace {
const char* const FrameText = "Gridforge First Release Version";

struct PartSpec {
    const char* text;
    int width;
    std::int16_t style = 0;
    std::int16_t drawStyle = 0;
};

struct Frame {
    QMainWindow window;
    QtStatusWindowPort port;
    ClsStatusBar bar{port};

    explicit Frame(QSize size)
    {
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QtStatusWindow* Status() const { return QtStatusWindowPort::StatusWindowOf(bar.GetSTBHandle()); }
    // Creates the bar at the bottom of the frame, adds the parts and draws it.
    void Show(std::initializer_list<PartSpec> parts, bool grip, int height = 0, std::uint32_t colour = 0x80000005u)
    {
        QCOMPARE(bar.CreateStatusBar(QtStatusWindowPort::HandleOf(&window), 2, grip, height, colour), 0);
        for (const PartSpec& p : parts)
            bar.SetStatusBarParts(p.text, p.width, p.style, p.drawStyle);
        bar.DrawStatusBar();
    }
};

bool DiffersFrom(const QImage& image, const QRect& area, const QColor& background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background.rgb())
                return true;
    return false;
}
}

class TestStatusWindow : public QObject {
    Q_OBJECT
private slots:
    void framesBar()
    {
        Frame frame(QSize(640, 400));
        frame.Show({{FrameText, 300}}, true);
        QtStatusWindow* status = frame.Status();
        QVERIFY(status != nullptr);
        QCOMPARE(frame.window.statusBar(), status);
        QVERIFY(status->isVisible());
        QApplication::processEvents();
        QCOMPARE(status->geometry().bottom(), frame.window.height() - 1);
        QCOMPARE(status->width(), frame.window.width());
        QCOMPARE(status->PartRect(0).right(), 299);
        QCOMPARE(QString::fromStdString(frame.bar.STBText(0)), QString::fromLatin1(FrameText));
        QCOMPARE(frame.bar.GetSTBTextLenB(0), 31);

        const QImage shot = status->grab().toImage();
        shot.save(QDir::temp().filePath(QStringLiteral("gridforge-statusbar.png")));
        const QColor background = status->palette().color(QPalette::Window);
        const QRect part = status->PartRect(0);
        // Sunken: dark line at the top left, light line at the bottom right.
        QCOMPARE(shot.pixel(part.left() + 10, part.top()), status->palette().color(QPalette::Dark).rgb());
        QCOMPARE(shot.pixel(part.left() + 10, part.bottom()), status->palette().color(QPalette::Light).rgb());
        QVERIFY(DiffersFrom(shot, part.adjusted(4, 2, -150, -2), background));            // the text
        QVERIFY(!DiffersFrom(shot, QRect(320, 0, 200, shot.height()), background));     // nothing past 300
        QVERIFY(DiffersFrom(shot, QRect(shot.width() - 16, shot.height() - 16, 16, 16), background));  // grip

        frame.bar.DestroyStatusBar();
        QCOMPARE(frame.bar.GetSTBHandle(), WindowHandle{0});
        QVERIFY(frame.window.findChild<QtStatusWindow*>() == nullptr);
        frame.bar.DrawStatusBar();  // nothing left to lay out
    }

    void looks_data()
    {
        QTest::addColumn<int>("drawStyle");
        QTest::addColumn<int>("topRole");
        QTest::addColumn<int>("bottomRole");
        QTest::newRow("sunken") << 0 << int(QPalette::Dark) << int(QPalette::Light);
        QTest::newRow("raised") << 1 << int(QPalette::Light) << int(QPalette::Dark);
        QTest::newRow("no borders") << 2 << int(QPalette::Window) << int(QPalette::Window);
    }
    void looks()
    {
        QFETCH(int, drawStyle);
        QFETCH(int, topRole);
        QFETCH(int, bottomRole);
        Frame frame(QSize(500, 300));
        frame.Show({{"", 100}, {"", 200}}, false);
        frame.bar.SetSTBPartStyle(1, drawStyle);
        QtStatusWindow* status = frame.Status();
        const QImage shot = status->grab().toImage();
        const QRect part = status->PartRect(1);
        const QPalette palette = status->palette();
        QCOMPARE(shot.pixel(part.center().x(), part.top()), palette.color(QPalette::ColorRole(topRole)).rgb());
        QCOMPARE(shot.pixel(part.center().x(), part.bottom()), palette.color(QPalette::ColorRole(bottomRole)).rgb());
        QVERIFY(!DiffersFrom(shot, QRect(shot.width() - 16, shot.height() - 16, 16, 16),
                             palette.color(QPalette::Window)));  // no grip asked for
    }

    void stretchFollowsTheFrame_data()
    {
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<bool>("grip");
        QTest::newRow("640 with grip") << 640 << true;
        QTest::newRow("900 without grip") << 900 << false;
    }
    void stretchFollowsTheFrame()
    {
        QFETCH(int, frameWidth);
        QFETCH(bool, grip);
        Frame frame(QSize(400, 300));
        frame.Show({{"fixed", 100}, {"stretching", 50, 1}, {"right", 70}}, grip);
        frame.window.resize(frameWidth, 300);
        QApplication::processEvents();
        frame.bar.DrawStatusBar();
        const int available = frame.window.frameGeometry().width() - (grip ? 24 : 0);
        QtStatusWindow* status = frame.Status();
        QCOMPARE(status->PartRect(1).right() + 1, available - 70);
        QCOMPARE(status->PartRect(2).right() + 1, std::min(available, status->width()));
        QCOMPARE(status->PartText(2), QStringLiteral("right"));
    }

    void backColourAndHeight()
    {
        Frame frame(QSize(400, 300));
        frame.Show({{"", 100, 0, 2}}, false, 40, 0x00FF00u);
        QApplication::processEvents();
        QtStatusWindow* status = frame.Status();
        QVERIFY(status->height() >= 40);
        QCOMPARE(status->grab().toImage().pixel(200, status->height() / 2), qRgb(0, 255, 0));
        frame.bar.STBHeight(QtStatusWindow::MaxMinHeight + 1);
        QCOMPARE(frame.bar.STBHeight(), 40);
    }

    void plainParentAtTop()
    {
        QWidget parent;
        parent.resize(300, 200);
        parent.show();
        QtStatusWindowPort port;
        ClsStatusBar bar(port);
        QCOMPARE(bar.CreateStatusBar(QtStatusWindowPort::HandleOf(&parent), 0, false, 0, 0x80000005u), 0);
        bar.SetStatusBarParts("top", 100, 1, 0);
        bar.DrawStatusBar();
        QtStatusWindow* status = QtStatusWindowPort::StatusWindowOf(bar.GetSTBHandle());
        QCOMPARE(status->geometry().top(), 0);
        QCOMPARE(status->width(), 300);
        parent.resize(500, 200);
        bar.DrawStatusBar();
        QCOMPARE(status->width(), 500);
        QCOMPARE(status->PartRect(0).right() + 1, 500);
    }

    void unknownParentIsRefused()
    {
        QtStatusWindowPort port;
        ClsStatusBar bar(port);
        QWidget* gone = new QWidget;
        const WindowHandle handle = QtStatusWindowPort::HandleOf(gone);
        delete gone;
        QCOMPARE(bar.CreateStatusBar(handle, 2, true, 0, 0x80000005u), -2);
        QCOMPARE(bar.CreateStatusBar(0, 2, true, 0, 0x80000005u), -2);
    }
};

QTEST_MAIN(TestStatusWindow)
#include "tst_components_statuswindow.moc"
