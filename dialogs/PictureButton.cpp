#include "dialogs/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(const QPixmap& picture, QWidget* parent) : QAbstractButton(parent), picture_(picture)
{
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    // The press itself acts, whatever the button; there is no release to wait for.
    event->accept();
    click();
}
