#include "shell/KeyboardCues.h"

#include <QEvent>
#include <QWidget>

bool KeyboardCues::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        lastInputWasKey_ = true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        lastInputWasKey_ = false;
        break;
    case QEvent::Show:
        if (lastInputWasKey_ && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip)
                widget->setAttribute(Qt::WA_KeyboardFocusChange);
        }
        break;
    default:
        break;
    }
    return false;
}
