#include "dialogs/frmAbout.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmAbout::frmAbout(QWidget* parent)
    : FixedDialog(BackgroundKind::AboutBox, 5130, 4305, parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("このプログラムについて"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/about.png")));
    setModal(false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    // The title picture: a screen reader reads what it shows.
    Image1->setAccessibleName(QStringLiteral("Gridforge First Release Edition"));
    Image1->setAccessibleDescription(QStringLiteral("プログラムのタイトル"));
    Image1->setGeometry(TwipsRect(120, 120, 4800, 3600));

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(TwipsRect(3360, 3840, 1575, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::accept);

    Load();
    Command1->setFocus();
}

void frmAbout::Load()
{
    PaintBackground();
    Image1->setPixmap(QPixmap(QStringLiteral(":/title.png")));
}
