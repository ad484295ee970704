#pragma once

#include "shell/PlainButtonStyle.h"

// Draws a focus frame inside a push button that has the keyboard focus, also
// where the style's own frame would lie on the button's edge (the small "×"
// buttons of the bars). A button reached with the pointer looks as before.
class FocusFrameStyle : public PlainButtonStyle {
    Q_OBJECT
public:
    using PlainButtonStyle::PlainButtonStyle;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
