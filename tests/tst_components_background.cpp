#include "components/qt/WindowBackground.h"

#include <QPainter>
#include <QWidget>
#include <QtTest>

namespace {
// A window that paints its kept background image, as the program's windows do.
class BackgroundWindow : public QWidget {
public:
    explicit BackgroundWindow(BackgroundKind kind)
        : background(kind)
    {
    }
    WindowBackground background;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        background.Draw(painter);
    }
};

using Samples = QList<QPair<int, QColor>>;
}

Q_DECLARE_METATYPE(BackgroundKind)
Q_DECLARE_METATYPE(Samples)

class TestBackground : public QObject {
    Q_OBJECT
private slots:
    void grabShowsTheBands_data()
    {
        QTest::addColumn<BackgroundKind>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<Samples>("samples");

        const Samples amber112{{0, QColor(250, 190, 0)}, {1, QColor(250, 190, 0)}, {2, QColor(250, 191, 2)},
                               {57, QColor(250, 220, 125)}, {111, QColor(250, 249, 246)}};
        const Samples green700{{0, QColor(0, 10, 0)}, {5, QColor(0, 10, 0)}, {6, QColor(1, 11, 1)},
                               {8, QColor(1, 11, 1)}, {699, QColor(249, 249, 249)}};
        QTest::newRow("replace dialog") << BackgroundKind::ReplaceDialog << QSize(408, 112) << amber112;
        QTest::newRow("map size dialog") << BackgroundKind::MapSizeDialog << QSize(408, 112) << amber112;
        QTest::newRow("map window") << BackgroundKind::MapWindow << QSize(300, 700) << green700;
        QTest::newRow("about box") << BackgroundKind::AboutBox << QSize(300, 700) << green700;
    }
    void grabShowsTheBands()
    {
        QFETCH(BackgroundKind, kind);
        QFETCH(QSize, size);
        QFETCH(Samples, samples);

        BackgroundWindow window(kind);
        window.resize(size);
        window.background.PaintBackground(window);
        const QImage grabbed = window.grab().toImage();
        QCOMPARE(grabbed.size(), size);
        grabbed.save(QDir::temp().filePath(QStringLiteral("gridforge-background-%1.png").arg(QTest::currentDataTag())));
        for (const auto& [row, color] : samples) {
            for (int x : {0, size.width() / 2, size.width() - 1}) {
                const QColor seen = grabbed.pixelColor(x, row);
                if (seen != color)
                    QFAIL(qPrintable(QStringLiteral("row %1 column %2: %3, expected %4")
                                         .arg(row).arg(x).arg(seen.name(), color.name())));
            }
        }
    }

    void repaintFollowsTheNewSize()
    {
        BackgroundWindow window(BackgroundKind::MapWindow);
        window.resize(200, 112);
        window.background.PaintBackground(window);
        window.resize(200, 700);
        window.background.PaintBackground(window);
        const QImage grabbed = window.grab().toImage();
        QCOMPARE(window.background.Image().size(), QSize(200, 700));
        QCOMPARE(grabbed.pixelColor(10, 6), QColor(1, 11, 1));
        QCOMPARE(grabbed.pixelColor(10, 699), QColor(249, 249, 249));
    }

    void emptyWindowKeepsNoImage()
    {
        BackgroundWindow window(BackgroundKind::AboutBox);
        window.resize(0, 0);
        window.background.PaintBackground(window);
        QVERIFY(window.background.Image().isNull());
        window.resize(50, 20);
        window.background.PaintBackground(window);
        QCOMPARE(window.background.Image().pixelColor(25, 0), QColor(0, 10, 0));
    }
};

QTEST_MAIN(TestBackground)
#include "tst_components_background.moc"
