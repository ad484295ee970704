#include "shell/DockedBar.h"

#include <QEvent>
#include <QLayout>
#include <QToolButton>

DockedBar::DockedBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    RemoveMargins();
    // The toolkit's button that shows what does not fit in a short bar.
    if (auto* more = findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("入りきらないボタン"));
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
