#include "shell/DockedBar.h"

#include <QEvent>
#include <QLayout>

DockedBar::DockedBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    RemoveMargins();
}

void DockedBar::changeEvent(QEvent* event)
{
    QToolBar::changeEvent(event);
    // A change of style sets the style's margins again.
    if (event->type() == QEvent::StyleChange)
        RemoveMargins();
}

void DockedBar::RemoveMargins()
{
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);
}
