#include "view/qt/MapKeyboardInput.h"

#include "document/MapModule.h"
#include "view/FrameWindowPort.h"
#include "view/qt/MapAccessible.h"
#include "view/qt/frmMain.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
// The cursor is a black ring of this many pixels around the cell, with a
// white line inside it at the cell's edge: it shows on every owner's colour.
constexpr int RingPixels = 2;
}  // namespace

MapKey MapKeyboardInput::FromEvent(const QKeyEvent& event)
{
    MapKey key;
    key.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    key.control = event.modifiers().testFlag(Qt::ControlModifier);
    if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return key;
    switch (event.key()) {
    case Qt::Key_Left: key.code = MapKey::Code::Left; break;
    case Qt::Key_Right: key.code = MapKey::Code::Right; break;
    case Qt::Key_Up: key.code = MapKey::Code::Up; break;
    case Qt::Key_Down: key.code = MapKey::Code::Down; break;
    case Qt::Key_Home: key.code = MapKey::Code::Home; break;
    case Qt::Key_End: key.code = MapKey::Code::End; break;
    case Qt::Key_Space: key.code = MapKey::Code::Space; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: key.code = MapKey::Code::Enter; break;
    default:
        if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9) {
            key.code = MapKey::Code::Digit;
            key.digit = event.key() - Qt::Key_0;
        }
        break;
    }
    return key;
}

bool MapKeyboardInput::FocusNextOutside(bool next) const
{
    QWidget* host = window_.parentWidget() != nullptr ? window_.parentWidget() : &window_;
    QWidget* top = window_.window();
    if (host == top)
        return false;
    for (QWidget* widget = next ? window_.nextInFocusChain() : window_.previousInFocusChain(); widget != &window_;
         widget = next ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->focusProxy() == nullptr;
        if (takesTab && widget != host && !host->isAncestorOf(widget) && widget->window() == top &&
            widget->isEnabled() && widget->isVisibleTo(top)) {
            widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

bool MapKeyboardInput::KeyPress(const QKeyEvent& event)
{
    const int brush = frame_ != nullptr ? frame_->BrushSizePosition() : 0;
    const MapKeyboard::Outcome outcome = MapKeyboard::Press(cursor_, window_.Cells(), FromEvent(event), brush);
    if (outcome.owner && frame_ != nullptr)
        frame_->SelectOwner(*outcome.owner);
    if (outcome.cursorChanged) {
        Repaint(outcome.previousSector);
        Repaint(cursor_.Sector(MapModule::MapWidth));
        MapAccessible::CursorMoved(window_, cursor_.Sector(MapModule::MapWidth));
    }
    return outcome.handled;
}

void MapKeyboardInput::FocusIn(Qt::FocusReason reason)
{
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        cursor_.Show();
    if (cursor_.Shown()) {
        Repaint(cursor_.Sector(MapModule::MapWidth));
        MapAccessible::CursorMoved(window_, cursor_.Sector(MapModule::MapWidth));
    }
}

void MapKeyboardInput::FocusOut()
{
    if (cursor_.Shown())
        Repaint(cursor_.Sector(MapModule::MapWidth));
}

void MapKeyboardInput::PointerPressed()
{
    if (!cursor_.Shown())
        return;
    cursor_.Hide();
    Repaint(cursor_.Sector(MapModule::MapWidth));
    MapAccessible::CursorMoved(window_, -1);
}

bool MapKeyboardInput::CursorDrawn() const
{
    return cursor_.Shown() && window_.hasFocus() && window_.Cells().Contains(cursor_.Sector(MapModule::MapWidth));
}

QRect MapKeyboardInput::AreaOf(int sector) const
{
    const QRect cell = window_.CellRectPixels(sector);
    return cell.isEmpty() ? QRect() : cell.adjusted(-RingPixels, -RingPixels, RingPixels, RingPixels);
}

QRect MapKeyboardInput::CursorRect() const { return AreaOf(cursor_.Sector(MapModule::MapWidth)); }

void MapKeyboardInput::Repaint(int sector) const
{
    const QRect area = AreaOf(sector);
    if (!area.isEmpty())
        window_.update(area);
}

void MapKeyboardInput::Paint(QPainter& painter, const QRect& dirty) const
{
    if (!CursorDrawn())
        return;
    const QRect ring = CursorRect();
    if (!ring.intersects(dirty))
        return;
    const QRect cell = ring.adjusted(RingPixels, RingPixels, -RingPixels, -RingPixels);
    painter.fillRect(ring.left(), ring.top(), ring.width(), RingPixels, Qt::black);
    painter.fillRect(ring.left(), ring.bottom() - RingPixels + 1, ring.width(), RingPixels, Qt::black);
    painter.fillRect(ring.left(), ring.top(), RingPixels, ring.height(), Qt::black);
    painter.fillRect(ring.right() - RingPixels + 1, ring.top(), RingPixels, ring.height(), Qt::black);
    painter.setPen(Qt::white);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
}
