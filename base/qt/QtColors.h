#pragma once

#include "base/ColorWord.h"

#include <QColor>

// A colour word as Qt paints it, system colours resolved.
QColor ToQColor(ColorWord color);
