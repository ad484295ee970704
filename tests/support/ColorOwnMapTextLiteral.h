#pragma once

#include "document/RichTextPort.h"

// The reference procedure of the own_map colouring, step for step: one pass
// per owner 0..6; step i = 1, 2, ... finds the owner's token at or after
// position i, colours it and advances the progress bar by one, and the pass
// ends when nothing is found. Up to 7 x length finds; the shipped colouring
// must give the same end result and progress total.
void ColorOwnMapTextLiteral(RichTextPort& box);
