#include "base/SystemColors.h"
#include "base/Twips.h"
#include "components/DrawingSurfacePort.h"
#include "components/clsGradient.h"

#include <QtTest>

#include <vector>

namespace {
struct Fill {
    int left, top, right, bottom;
    ColorWord color;
};

// Records what the painter does with a surface.
class RecordingSurface : public DrawingSurfacePort {
public:
    bool refuseOffscreen = false;
    int createCalls = 0;
    int offscreenWidth = 0;
    int offscreenHeight = 0;
    std::vector<Fill> fills;
    int copies = 0;
    int copyX = -1;
    int copyY = -1;
    bool live = false;
    bool filledWhileDead = false;

    bool CreateOffscreen(int width, int height) override
    {
        ++createCalls;
        if (refuseOffscreen)
            return false;
        offscreenWidth = width;
        offscreenHeight = height;
        live = true;
        return true;
    }
    void FillOffscreen(int left, int top, int right, int bottom, ColorWord rgb) override
    {
        if (!live)
            filledWhileDead = true;
        fills.push_back({left, top, right, bottom, rgb});
    }
    void CopyOffscreen(int x, int y) override
    {
        ++copies;
        copyX = x;
        copyY = y;
    }
    void ReleaseOffscreen() override { live = false; }

    // The colour of the band that starts at the given offset along the direction.
    ColorWord ColorAt(int offset, bool across) const
    {
        for (const Fill& f : fills)
            if ((across ? f.left : f.top) == offset)
                return f.color;
        return ColorWord{0xFFFFFFFFu};
    }
};

using Samples = QList<QPair<int, quint32>>;

quint32 Rgb(int r, int g, int b) { return ColorWord::Rgb(r, g, b).value; }
}

Q_DECLARE_METATYPE(Samples)

class TestGradient : public QObject {
    Q_OBJECT
private slots:
    void setRectangle_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<QList<int>>("given");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("96 dpi") << 15.0 << QList<int>{15, 15, 300, 150} << QList<int>{1, 1, 21, 11};
        QTest::newRow("halves go to even, down") << 12.0 << QList<int>{30, 30, 24, 24} << QList<int>{2, 2, 4, 4};
        QTest::newRow("halves go to even, up") << 12.0 << QList<int>{42, 42, 30, 6} << QList<int>{4, 4, 6, 4};
        QTest::newRow("right adds the rounded left") << 12.0 << QList<int>{30, 0, 30, 0} << QList<int>{2, 0, 4, 0};
        QTest::newRow("no screen density means 15") << 0.0 << QList<int>{150, 30, 1500, 750} << QList<int>{10, 2, 110, 52};
    }
    void setRectangle()
    {
        QFETCH(double, twips);
        QFETCH(QList<int>, given);
        QFETCH(QList<int>, expected);
        clsGradient gradient(twips, twips);
        gradient.SetRectangle(given[0], given[1], given[2], given[3]);
        QCOMPARE((QList<int>{gradient.RectLeft(), gradient.RectTop(), gradient.RectRight(), gradient.RectBottom()}),
                 expected);
    }

    // The program's one twips conversion, which the rectangle above uses too.
    void twipsConversion_data()
    {
        QTest::addColumn<double>("dotsPerInch");
        QTest::addColumn<double>("pixels");
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("backToPixels");
        QTest::newRow("96 dpi is 15 twips per pixel") << 96.0 << 7.0 << 105 << 7;
        QTest::newRow("120 dpi is 12 twips per pixel") << 120.0 << 7.0 << 84 << 7;
        QTest::newRow("no density means 15") << 0.0 << 2.0 << 30 << 2;
        QTest::newRow("half twips go to even, down") << 2880.0 << 5.0 << 2 << 4;
        QTest::newRow("half twips go to even, up") << 2880.0 << 7.0 << 4 << 8;
    }
    void twipsConversion()
    {
        QFETCH(double, dotsPerInch);
        QFETCH(double, pixels);
        QFETCH(int, twips);
        QFETCH(int, backToPixels);
        const double perPixel = Twips::PerPixelAt(dotsPerInch);
        QCOMPARE(Twips::ToTwips(pixels, perPixel), twips);
        QCOMPARE(Twips::ToPixels(twips, perPixel), backToPixels);
    }

    void bands_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("end");
        QTest::addColumn<int>("bandSize");
        QTest::addColumn<int>("bandCount");
        QTest::addColumn<Samples>("samples");

        const quint32 amber = Rgb(250, 190, 0);
        const quint32 green = Rgb(0, 10, 0);
        const quint32 nearWhite = Rgb(250, 250, 250);
        QTest::newRow("replace dialog, 112 rows") << 1 << 408 << 112 << amber << nearWhite << 1 << 113
            << Samples{{0, amber}, {1, amber}, {2, Rgb(250, 191, 2)}, {57, Rgb(250, 220, 125)},
                       {112, Rgb(250, 249, 248)}};
        QTest::newRow("map window, 700 rows") << 1 << 300 << 700 << green << nearWhite << 3 << 234
            << Samples{{0, green}, {3, green}, {6, Rgb(1, 11, 1)}, {699, Rgb(249, 249, 249)}};
        QTest::newRow("left to right, 112 columns") << 0 << 112 << 40 << amber << nearWhite << 1 << 113
            << Samples{{0, amber}, {2, Rgb(250, 191, 2)}, {57, Rgb(250, 220, 125)}};
        QTest::newRow("382 still has 1-pixel bands") << 1 << 10 << 382 << green << nearWhite << 1 << 383
            << Samples{{0, green}};
        QTest::newRow("383 has 2-pixel bands") << 1 << 10 << 383 << green << nearWhite << 2 << 192
            << Samples{{0, green}, {2, green}};
        QTest::newRow("falling colours") << 1 << 10 << 100 << nearWhite << green << 1 << 101
            << Samples{{0, nearWhite}, {1, nearWhite}, {2, Rgb(248, 248, 248)}};
        QTest::newRow("system colour start") << 1 << 10 << 50 << ColorWord::System(SystemColor::ButtonFace).value
            << Rgb(0, 0, 0) << 1 << 51 << Samples{{0, Rgb(240, 240, 240)}, {1, Rgb(240, 240, 240)}};
        QTest::newRow("one pixel") << 1 << 5 << 1 << green << nearWhite << 1 << 2
            << Samples{{0, green}, {1, green}};
    }
    void bands()
    {
        QFETCH(int, direction);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(quint32, start);
        QFETCH(quint32, end);
        QFETCH(int, bandSize);
        QFETCH(int, bandCount);
        QFETCH(Samples, samples);

        RecordingSurface surface;
        clsGradient gradient;
        gradient.StartColor(ColorWord{start});
        gradient.EndColor(ColorWord{end});
        gradient.Direction(direction);
        gradient.SetRectangle(0, 0, width * 15, height * 15);
        gradient.hdc(&surface);
        gradient.Gradation(nullptr);

        QCOMPARE(surface.offscreenWidth, width);
        QCOMPARE(surface.offscreenHeight, height);
        QCOMPARE(int(surface.fills.size()), bandCount);
        const bool across = direction == 0;
        for (int k = 0; k < bandCount; ++k) {
            const Fill& f = surface.fills[k];
            const int from = across ? f.left : f.top;
            const int to = across ? f.right : f.bottom;
            QCOMPARE(from, k * bandSize);
            QCOMPARE(to - from, bandSize);
            QCOMPARE(across ? f.top : f.left, 0);
            QCOMPARE(across ? f.bottom : f.right, across ? height : width);
        }
        for (const auto& [offset, color] : samples)
            QCOMPARE(surface.ColorAt(offset, across).value, color);
        QCOMPARE(surface.copies, 1);
        QVERIFY(!surface.live);
        QVERIFY(!surface.filledWhileDead);
    }

    void bandSize_data()
    {
        QTest::addColumn<int>("extent");
        QTest::addColumn<int>("size");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("127") << 127 << 1;
        QTest::newRow("382") << 382 << 1;
        QTest::newRow("383") << 383 << 2;
        QTest::newRow("637 (2.498)") << 637 << 2;
        QTest::newRow("638 (2.502)") << 638 << 3;
        QTest::newRow("700") << 700 << 3;
    }
    void bandSize()
    {
        QFETCH(int, extent);
        QFETCH(int, size);
        QCOMPARE(clsGradient::BandSize(extent), size);
    }

    void copiesToTheRectangle()
    {
        RecordingSurface surface;
        clsGradient gradient;
        gradient.SetRectangle(15, 30, 300, 150);
        gradient.Gradation(&surface);
        QCOMPARE(surface.copyX, 1);
        QCOMPARE(surface.copyY, 2);
        QCOMPARE(surface.offscreenWidth, 20);
        QCOMPARE(surface.offscreenHeight, 10);
    }

    void argumentOverridesProperty()
    {
        RecordingSurface property, argument;
        clsGradient gradient;
        gradient.SetRectangle(0, 0, 150, 150);
        gradient.hdc(&property);
        gradient.Gradation(&argument);
        QCOMPARE(gradient.hdc(), &property);
        QCOMPARE(property.createCalls, 0);
        QCOMPARE(argument.copies, 1);
    }

    void emptyRectanglePaintsNothing_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("no height, top to bottom") << 1 << 100 << 0;
        QTest::newRow("no width, left to right") << 0 << 0 << 100;
        QTest::newRow("no width, top to bottom") << 1 << 0 << 100;
        QTest::newRow("nothing at all") << 1 << 0 << 0;
        QTest::newRow("inverted") << 1 << 100 << -100;
    }
    void emptyRectanglePaintsNothing()
    {
        QFETCH(int, direction);
        QFETCH(int, width);
        QFETCH(int, height);
        RecordingSurface surface;
        clsGradient gradient;
        gradient.Direction(direction);
        gradient.SetRectangle(0, 0, width * 15, height * 15);
        gradient.Gradation(&surface);
        QCOMPARE(surface.createCalls, 0);
        QVERIFY(surface.fills.empty());
        QCOMPARE(surface.copies, 0);
    }

    void refusedOffscreenPaintsNothing()
    {
        RecordingSurface surface;
        surface.refuseOffscreen = true;
        clsGradient gradient;
        gradient.SetRectangle(0, 0, 1500, 1500);
        gradient.Gradation(&surface);
        QCOMPARE(surface.createCalls, 1);
        QVERIFY(surface.fills.empty());
        QCOMPARE(surface.copies, 0);
    }
};

QTEST_GUILESS_MAIN(TestGradient)
#include "tst_components_gradient.moc"
