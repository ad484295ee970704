#include "dialogs/frmReplace.h"

#include "document/OwnerReplace.h"
#include "document/OwnerTable.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr int SwatchSize = 16;

QIcon Swatch(const QColor& color)
{
    QPixmap pixmap(SwatchSize, SwatchSize);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QComboBox* MakeOwnerList(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(false);
    combo->setIconSize(QSize(SwatchSize, SwatchSize));
    combo->setGeometry(geometry);
    return combo;
}
}  // namespace

const std::array<QColor, 7>& frmReplace::SwatchColors()
{
    static const std::array<QColor, 7> colors{QColor(255, 128, 64), QColor(0, 0, 255),   QColor(0, 255, 0),
                                              QColor(255, 255, 255), QColor(255, 255, 0), QColor(128, 128, 128),
                                              QColor(255, 0, 0)};
    return colors;
}

frmReplace::frmReplace(QWidget* parent)
    : FixedDialog(BackgroundKind::ReplaceDialog, 6120, 1680, parent)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("オーナー置換"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/map.png")));
    setModal(true);

    Image1 = MakeLabel(this, "Image1", QString(), TwipsRect(360, 120, 480, 480));
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/map.png")));
    Image1->setAccessibleName(QStringLiteral("オーナー置換のアイコン"));
    Label3 = MakeLabel(this, "Label3", QStringLiteral("オーナーのセクタを置換します"), TwipsRect(960, 240, 2325, 180));
    Label1 = MakeLabel(this, "Label1", QStringLiteral("置換元のオーナー："), TwipsRect(360, 720, 2055, 255));
    ImageCombo1 = MakeOwnerList(this, "ImageCombo1", TwipsRect(1920, 675, 2175, 315));
    Label2 = MakeLabel(this, "Label2", QStringLiteral("置換先のオーナー："), TwipsRect(360, 1200, 2055, 255));
    ImageCombo2 = MakeOwnerList(this, "ImageCombo2", TwipsRect(1920, 1140, 2175, 315));

    Command2 = MakeButton(this, "Command2", QStringLiteral("すべて置換(&R)"), TwipsRect(4680, 120, 1335, 375));
    Command2->setDefault(true);
    Command1 = MakeButton(this, "Command1", QStringLiteral("置換(&R)"), TwipsRect(4680, 600, 1335, 375));
    Command3 = MakeButton(this, "Command3", QStringLiteral("キャンセル(&C)"), TwipsRect(4680, 1080, 1335, 375));

    // A reader names each list after its label (on Windows from the name).
    Label1->setBuddy(ImageCombo1);
    Label2->setBuddy(ImageCombo2);
    ImageCombo1->setAccessibleName(QStringLiteral("置換元のオーナー"));
    ImageCombo2->setAccessibleName(QStringLiteral("置換先のオーナー"));

    setTabOrder(ImageCombo1, ImageCombo2);
    setTabOrder(ImageCombo2, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command1);

    connect(Command1, &QPushButton::clicked, this, &frmReplace::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmReplace::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmReplace::reject);

    Load();
    ImageCombo1->setFocus();
}

void frmReplace::Load()
{
    PaintBackground();
    FillOwnerList(ImageCombo1);
    ImageCombo1->setCurrentIndex(0);
    FillOwnerList(ImageCombo2);
    ImageCombo2->setCurrentIndex(0);
}

void frmReplace::FillOwnerList(QComboBox* list)
{
    for (int owner = 0; owner < OwnerCount; ++owner)
        list->addItem(Swatch(SwatchColors()[owner]), QString::fromUtf8(OwnerTable[owner].replaceName));
}

void frmReplace::Command1_Click()
{
    const int source = ImageCombo1->currentIndex();
    const int target = ImageCombo2->currentIndex();
    MapModule::ReplaceOwnerEach(source, target);
}

void frmReplace::Command2_Click()
{
    const int source = ImageCombo1->currentIndex();
    const int target = ImageCombo2->currentIndex();
    MapModule::ReplaceOwnerAll(source, target);
}
