#pragma once

#include "view/MapKeyboard.h"
#include "view/SectorCursor.h"

#include <QRect>
#include <Qt>

class FrameWindowPort;
class QKeyEvent;
class QPainter;
class frmMain;

// The keyboard on the map window: hands its keys to MapKeyboard, asks the
// frame for an owner chosen by digit, and draws the sector cursor while the
// window has the focus and the keyboard has used it (a press of the pointer
// hides it again, so that the pointer's picture stays as it is).
class MapKeyboardInput {
public:
    MapKeyboardInput(frmMain& window, FrameWindowPort* frame) : window_(window), frame_(frame) {}

    // True when the key was the map's.
    bool KeyPress(const QKeyEvent& event);
    // Reaching the window by keyboard (Tab, Shift+Tab, a pane key) shows the
    // cursor as the sign of the focus.
    void FocusIn(Qt::FocusReason reason);
    void FocusOut();
    void PointerPressed();
    void Paint(QPainter& painter, const QRect& dirty) const;

    const SectorCursor& Cursor() const { return cursor_; }
    bool CursorDrawn() const;
    // The pixels the cursor covers, drawn or not.
    QRect CursorRect() const;

    static MapKey FromEvent(const QKeyEvent& event);

    // Tab and Shift+Tab from the map go on to the frame's next or previous
    // control: the sub-window around the map would keep them inside itself.
    bool FocusNextOutside(bool next) const;

private:
    QRect AreaOf(int sector) const;
    void Repaint(int sector) const;

    frmMain& window_;
    FrameWindowPort* frame_;
    SectorCursor cursor_;
};
