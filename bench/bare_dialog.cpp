// The floor for start-up: a plain QDialog with the same controls, texts and
// geometry as the map size dialog and no pictures or fonts of its own (no
// window icon, an empty picture label, the application's default font),
// shown by a plain QApplication with nothing else (no frame window, no
// background gradient, no translations). bench/ux_latency.py times it beside
// the editor.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace {
// The dialog is laid out in pixels at 15 twips per pixel.
QRect Pixels(int left, int top, int width, int height) { return QRect(left / 15, top / 15, width / 15, height / 15); }
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("マップサイズの選択"));
    dialog.setFixedSize(3420 / 15, 1560 / 15);

    auto* label = new QLabel(QStringLiteral("作成したいマップサイズを選択してください"), &dialog);
    label->setGeometry(Pixels(120, 120, 3255, 255));
    auto* image = new QLabel(&dialog);
    image->setGeometry(Pixels(120, 510, 480, 480));
    auto* times = new QLabel(QStringLiteral("×"), &dialog);
    times->move(1725 / 15, 645 / 15);
    for (const QRect& geometry : {Pixels(720, 600, 975, 300), Pixels(1920, 600, 975, 300)}) {
        auto* combo = new QComboBox(&dialog);
        for (int n = 10; n <= 50; ++n)
            combo->addItem(QString::number(n));
        combo->setCurrentIndex(10);
        combo->setGeometry(geometry);
    }
    auto* ok = new QPushButton(QStringLiteral("&OK"), &dialog);
    ok->setGeometry(Pixels(480, 1080, 1215, 375));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル(&C)"), &dialog);
    cancel->setGeometry(Pixels(1920, 1080, 1215, 375));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.move(2865 / 15, 3885 / 15);
    return dialog.exec();
}
