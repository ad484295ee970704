#pragma once

#include "document/CellPort.h"
#include "document/MessageBoxPort.h"
#include "view/FrameWindowPort.h"

// What a map window needs of the program, handed to it when it is made.
struct MapWindowContext {
    FrameWindowPort* frame = nullptr;    // size labels, map commands, brush size, owner
    MessageBoxPort* messages = nullptr;  // the build error and the closing question
    // Where the document looks for the map's cells: the window puts its own
    // there when it is built and takes them away when it goes.
    CellPort** documentCells = nullptr;
};
