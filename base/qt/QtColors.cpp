#include "base/qt/QtColors.h"

#include "base/SystemColors.h"

QColor ToQColor(ColorWord color)
{
    const ColorWord rgb = ResolveColor(color);
    return QColor(rgb.Red(), rgb.Green(), rgb.Blue());
}
