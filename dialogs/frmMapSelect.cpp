#include "dialogs/frmMapSelect.h"

#include "base/qt/ProgramPicture.h"
#include "dialogs/PictureButton.h"
#include "document/NewMapCommand.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr int FirstSize = MapModule::NewMapMinSize;
constexpr int LastSize = MapModule::NewMapMaxSize;
constexpr int PreselectedPosition = 10;  // "20"

QComboBox* MakeSizeList(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(false);
    combo->setMaxVisibleItems(12);
    combo->setGeometry(geometry);
    return combo;
}

// The lists have no label of their own (only "×" between them): a reader on
// Linux names a list after the label tied to it, so each gets one that is
// never shown. On Windows the list's own name is read.
void NameSizeList(QComboBox* list, const QString& name)
{
    list->setAccessibleName(name);
    auto* label = new QLabel(name, list->parentWidget());
    label->setBuddy(list);
    label->hide();
}
}  // namespace

frmMapSelect::frmMapSelect(QWidget* parent)
    : FixedDialog(BackgroundKind::MapSizeDialog, 3420, 1560, parent)
{
    setObjectName(QStringLiteral("frmMapSelect"));
    setWindowTitle(QStringLiteral("マップサイズの選択"));
    // One decoding for the window icon and Image1, with no image plugin
    // loaded before the dialog is on the screen.
    const QPixmap picture = ProgramPicture(QStringLiteral(":/icons/map.png"));
    setWindowIcon(QIcon(picture));
    setModal(true);

    Label2 = new QLabel(QStringLiteral("作成したいマップサイズを選択してください"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(TwipsRect(120, 120, 3255, 255));

    Image1 = new PictureButton(picture, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(TwipsRect(120, 510, 480, 480));
    Image1->setAccessibleName(QStringLiteral("正方形にする"));
    Image1->setAccessibleDescription(QStringLiteral("高さを幅と同じにします"));

    Combo1 = MakeSizeList(this, "Combo1", TwipsRect(720, 600, 975, 300));

    Label1 = new QLabel(QStringLiteral("×"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(Pixels(1725), Pixels(645));
    Label1->adjustSize();

    Combo2 = MakeSizeList(this, "Combo2", TwipsRect(1920, 600, 975, 300));
    NameSizeList(Combo1, QStringLiteral("幅"));
    NameSizeList(Combo2, QStringLiteral("高さ"));

    Command1 = MakeButton(this, "Command1", QStringLiteral("&OK"), TwipsRect(480, 1080, 1215, 375));
    Command1->setDefault(true);
    Command2 = MakeButton(this, "Command2", QStringLiteral("キャンセル(&C)"), TwipsRect(1920, 1080, 1215, 375));

    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, Command1);
    setTabOrder(Command1, Command2);

    connect(Image1, &PictureButton::clicked, this, &frmMapSelect::MakeSquare);
    connect(Command1, &QPushButton::clicked, this, &frmMapSelect::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMapSelect::reject);

    // The client area's top-left corner sits at a fixed place on the screen.
    setGeometry(QRect(QPoint(Pixels(2865), Pixels(3885)), size()));
    Load();
    Combo1->setFocus();
}

void frmMapSelect::Load()
{
    for (int n = FirstSize; n <= LastSize; ++n) {
        Combo1->addItem(QString::number(n));
        Combo2->addItem(QString::number(n));
    }
    Combo1->setCurrentIndex(PreselectedPosition);
    Combo2->setCurrentIndex(PreselectedPosition);
    PaintBackground();
}

void frmMapSelect::MakeSquare() { Combo2->setCurrentIndex(Combo1->currentIndex()); }

void frmMapSelect::Command1_Click()
{
    // A refused close of the open map leaves everything as it was; the dialog
    // closes either way.
    MapModule::StartNewMap(Combo1->currentIndex() + FirstSize, Combo2->currentIndex() + FirstSize);
    accept();
}
