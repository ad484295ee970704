#pragma once

#include "base/ColorWord.h"

// The program's system colour scheme: what a system colour word (top bit set)
// stands for when it is painted. Unknown indexes read as black.
ColorWord GetSysColor(int index);

// A colour word with system colours resolved to their RGB value.
ColorWord ResolveColor(ColorWord color);
