#include "shell/FocusFrameStyle.h"

#include <QStyleOptionFocusRect>

#include <algorithm>

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    PlainButtonStyle::drawControl(element, option, painter, widget);
    const QStyle::State keyboardFocus = State_HasFocus | State_KeyboardFocusChange;
    if (element != CE_PushButton || (option->state & keyboardFocus) != keyboardFocus)
        return;
    const int inset = std::min(option->rect.width(), option->rect.height()) >= 20 ? 3 : 2;
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(*option);
    frame.rect = option->rect.adjusted(inset, inset, -inset, -inset);
    frame.backgroundColor = option->palette.button().color();
    PlainButtonStyle::drawPrimitive(PE_FrameFocusRect, &frame, painter, widget);
}
