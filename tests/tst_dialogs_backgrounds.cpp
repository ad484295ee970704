#include "dialogs/frmAbout.h"
#include "dialogs/frmMapSelect.h"
#include "dialogs/frmReplace.h"
#include "document/MapModule.h"

#include <QtTest>

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

}  // namespace

class TestDialogBackgrounds : public QObject {
    Q_OBJECT
private slots:
    void init() { MapModule::ResetDocument(); }

    // Expected colours worked out by hand from the band rule (one-pixel bands,
    // rows 0 and 1 at the start colour), away from every control.
    void gradientRows_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("color");
        QTest::newRow("size dialog top") << "frmMapSelect" << QPoint(2, 0) << QColor(250, 190, 0);
        QTest::newRow("size dialog row 2") << "frmMapSelect" << QPoint(227, 2) << QColor(250, 191, 2);
        QTest::newRow("size dialog middle") << "frmMapSelect" << QPoint(2, 52) << QColor(250, 219, 123);
        QTest::newRow("size dialog last row") << "frmMapSelect" << QPoint(2, 103) << QColor(250, 249, 245);
        QTest::newRow("replace top") << "frmReplace" << QPoint(3, 0) << QColor(250, 190, 0);
        QTest::newRow("replace row 1 keeps the start") << "frmReplace" << QPoint(3, 1) << QColor(250, 190, 0);
        QTest::newRow("replace row 2") << "frmReplace" << QPoint(3, 2) << QColor(250, 191, 2);
        QTest::newRow("replace middle") << "frmReplace" << QPoint(3, 57) << QColor(250, 220, 125);
        QTest::newRow("about top") << "frmAbout" << QPoint(2, 0) << QColor(0, 10, 0);
        QTest::newRow("about row 2") << "frmAbout" << QPoint(336, 2) << QColor(1, 11, 1);
        QTest::newRow("about middle") << "frmAbout" << QPoint(2, 143) << QColor(124, 129, 124);
        QTest::newRow("about last row") << "frmAbout" << QPoint(2, 286) << QColor(248, 248, 248);
    }
    void gradientRows()
    {
        QFETCH(QString, dialog);
        QFETCH(QPoint, point);
        QFETCH(QColor, color);
        auto window = MakeDialog(dialog);
        const QImage image = window->grab().toImage();
        const QString grabDir = qEnvironmentVariable("GRIDFORGE_GRAB_DIR");
        if (!grabDir.isEmpty())
            image.save(grabDir + "/" + dialog + ".png");
        QCOMPARE(image.pixelColor(point).name(), color.name());
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
