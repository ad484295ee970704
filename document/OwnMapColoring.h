#pragma once

#include "document/OwnerTable.h"
#include "document/RichTextPort.h"

#include <array>
#include <string>
#include <vector>

// Colouring of the own_map text: every owner token "00" to "06" (two digits,
// no space) takes its owner's text colour.
//
// The reference procedure runs one pass per owner 0..6; step i = 1, 2, ...
// finds the owner's token at or after position i, colours it and advances
// the progress bar by one. It ends when nothing is found, so a token at
// position 0 is never coloured and a pass takes as many steps as the
// position of its last token. Later passes overwrite earlier ones where
// tokens overlap ("001" holds "00" at 0 and "01" at 1).

// Owner k's token as the colouring searches it: "0" followed by the digit k.
std::u16string OwnerColorToken(int owner);

// The outcome of the reference procedure computed in one scan.
struct OwnMapColoringPlan {
    std::vector<signed char> ownerAt;        // per character: owner colour, -1 untouched
    std::array<int, OwnerCount> passSteps{}; // progress steps each owner pass takes
    int progressMaximum = 0;                 // 7 x length, capped to int
};
OwnMapColoringPlan PlanOwnMapColoring(const std::u16string& text, int length);

// The reference procedure's end result and progress total: the runs of
// equally coloured characters handed to the box at once, then one progress
// addition per owner pass.
void ColorOwnMapTextFast(RichTextPort& box);
