#include "base/SystemColors.h"

ColorWord GetSysColor(int index)
{
    switch (index) {
    case SystemColor::ActiveCaption:
        return ColorWord::Rgb(0, 84, 227);
    case SystemColor::Window:
        return ColorWord::Rgb(255, 255, 255);
    case SystemColor::Highlight:
        return ColorWord::Rgb(0, 120, 215);
    case SystemColor::HighlightText:
        return ColorWord::Rgb(255, 255, 255);
    case SystemColor::ButtonFace:
        return ColorWord::Rgb(240, 240, 240);
    default:
        return ColorWord::Rgb(0, 0, 0);
    }
}

ColorWord ResolveColor(ColorWord color)
{
    return color.IsSystem() ? GetSysColor(color.SystemIndex()) : color;
}
