#include "dialogs/frmAbout.h"
#include "dialogs/frmMapSelect.h"
#include "dialogs/frmReplace.h"
#include "document/MapModule.h"

#include <QtTest>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<QDialog> MakeDialog(const QString& name)
{
    if (name == "frmMapSelect")
        return std::make_unique<frmMapSelect>();
    if (name == "frmReplace")
        return std::make_unique<frmReplace>();
    return std::make_unique<frmAbout>();
}

// Colour of pixel row y of a top-to-bottom gradient over extent rows in
// one-pixel bands: rows 0 and 1 carry the start colour, row y > 1 the colour
// worked out for offset y - 1.
QColor GradientRow(int y, int extent, QColor start, QColor end)
{
    if (y <= 1)
        return start;
    const int o = y - 1;
    auto channel = [&](int s, int e) {
        return static_cast<int>(std::nearbyint(static_cast<double>((extent - o) * (s - e)) / extent + e));
    };
    return QColor(channel(start.red(), end.red()), channel(start.green(), end.green()),
                  channel(start.blue(), end.blue()));
}

}  // namespace

class TestDialogBackgrounds : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }

    void gradientRows_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QSize>("clientSize");
        QTest::addColumn<QColor>("start");
        QTest::addColumn<int>("x");

        const QColor amber(250, 190, 0);
        const QColor darkGreen(0, 10, 0);
        QTest::newRow("map size dialog, amber") << "frmMapSelect" << QSize(228, 104) << amber << 2;
        QTest::newRow("map size dialog, right edge") << "frmMapSelect" << QSize(228, 104) << amber << 227;
        QTest::newRow("replace dialog, amber") << "frmReplace" << QSize(408, 112) << amber << 2;
        QTest::newRow("about box, dark green") << "frmAbout" << QSize(342, 287) << darkGreen << 2;
        QTest::newRow("about box, right of the picture") << "frmAbout" << QSize(342, 287) << darkGreen << 336;
    }
    void gradientRows()
    {
        QFETCH(QString, dialog);
        QFETCH(QSize, clientSize);
        QFETCH(QColor, start);
        QFETCH(int, x);

        auto window = MakeDialog(dialog);
        QCOMPARE(window->size(), clientSize);
        const QImage image = window->grab().toImage();
        const QString grabDir = qEnvironmentVariable("GRIDFORGE_GRAB_DIR");
        if (!grabDir.isEmpty())
            image.save(grabDir + "/" + dialog + ".png");

        const int extent = clientSize.height();
        const QColor end(250, 250, 250);
        for (int y : {0, 1, 2, extent / 2, extent - 1}) {
            const QColor want = GradientRow(y, extent, start, end);
            QCOMPARE(image.pixelColor(x, y).name(), want.name());
        }
    }

    // Values worked out by hand for the replace dialog's 112 rows.
    void replaceDialogKnownRows_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<QColor>("color");
        QTest::newRow("top") << 0 << QColor(250, 190, 0);
        QTest::newRow("second row keeps the start") << 1 << QColor(250, 190, 0);
        QTest::newRow("third row") << 2 << QColor(250, 191, 2);
        QTest::newRow("middle") << 57 << QColor(250, 220, 125);
    }
    void replaceDialogKnownRows()
    {
        QFETCH(int, y);
        QFETCH(QColor, color);
        frmReplace dialog;
        QCOMPARE(dialog.grab().toImage().pixelColor(3, y).name(), color.name());
    }

    void aboutBoxShowsTitleArtwork_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("white");
        QTest::newRow("picture's top-left corner is white ground") << QPoint(8, 8) << true;
        QTest::newRow("picture's bottom-right corner is white ground") << QPoint(327, 247) << true;
        QTest::newRow("just left of the picture is background") << QPoint(7, 100) << false;
        QTest::newRow("just below the picture is background") << QPoint(100, 248) << false;
    }
    void aboutBoxShowsTitleArtwork()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, white);
        frmAbout dialog;
        const QImage image = dialog.grab().toImage();
        QCOMPARE(image.pixelColor(point) == QColor(Qt::white), white);
    }

    void aboutBoxTitleHasLettering()
    {
        frmAbout dialog;
        const QImage image = dialog.grab().toImage().copy(8, 8, 320, 240);
        const QImage artwork(QStringLiteral(":/title.png"));
        QCOMPARE(artwork.size(), QSize(320, 240));
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), artwork.convertToFormat(QImage::Format_RGB32));
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        QVERIFY2(dark > 500, qPrintable(QString::number(dark)));
    }
};

QTEST_MAIN(TestDialogBackgrounds)
#include "tst_dialogs_backgrounds.moc"
