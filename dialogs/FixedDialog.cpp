#include "dialogs/FixedDialog.h"

#include "base/qt/ScreenTwips.h"

#include <QFont>
#include <QKeyEvent>
#include <QPushButton>
#include <QPainter>

int FixedDialog::Pixels(int twips) { return Twips::ScreenPixels(twips); }

QRect FixedDialog::TwipsRect(int left, int top, int width, int height)
{
    return Twips::ScreenRect(left, top, width, height);
}

FixedDialog::FixedDialog(BackgroundKind background, int clientWidthTwips, int clientHeightTwips, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , background_(background)
{
    setFixedSize(Pixels(clientWidthTwips), Pixels(clientHeightTwips));
    // The dialogs are laid out for a 9-point proportional Japanese gothic.
    // The program's own font is that one already: a font of the dialog's own
    // would be looked up afresh, fallbacks and all, before its first paint.
    QFont dialogFont = font();
    if (dialogFont.family() != QStringLiteral("ＭＳ Ｐゴシック") || dialogFont.pointSize() != 9) {
        dialogFont.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
        dialogFont.setPointSize(9);
        setFont(dialogFont);
    }
    setSizeGripEnabled(false);
}

void FixedDialog::PaintBackground() { background_.PaintBackground(*this); }

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FixedDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    background_.Draw(painter);
    Q_UNUSED(event);
}

QPushButton* FixedDialog::MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(true);
    button->setGeometry(geometry);
    return button;
}
