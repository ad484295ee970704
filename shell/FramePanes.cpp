#include "shell/FramePanes.h"

#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include <algorithm>

FramePanes::FramePanes(QWidget& frame, std::function<QWidget*()> mapWindow, std::vector<QWidget*> bars)
    : QObject(&frame), frame_(frame), mapWindow_(std::move(mapWindow)), bars_(std::move(bars))
{
    const struct {
        QKeySequence keys;
        bool forward;
    } keys[] = {{QKeySequence(Qt::Key_F6), true},
                {QKeySequence(Qt::SHIFT | Qt::Key_F6), false},
                {QKeySequence(Qt::CTRL | Qt::Key_Tab), true},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), false},
                {QKeySequence(Qt::CTRL | Qt::Key_Backtab), false}};
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, &frame_);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, forward = key.forward] { Step(forward); });
    }
}

std::vector<QWidget*> FramePanes::Panes() const
{
    std::vector<QWidget*> panes;
    if (QWidget* map = mapWindow_())
        panes.push_back(map);
    for (QWidget* bar : bars_)
        if (bar->isVisible())
            panes.push_back(bar);
    return panes;
}

bool FramePanes::Enter(QWidget* pane, bool forward)
{
    // Reached like Tab reaches a control: it shows its focus frame.
    const Qt::FocusReason reason = forward ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    // The pane itself when it takes the focus, else its first control that does.
    if (pane->isEnabled() && pane->isVisible() && (pane->focusPolicy() & Qt::TabFocus)) {
        pane->setFocus(reason);
        return true;
    }
    for (QWidget* widget = pane->nextInFocusChain(); widget != pane; widget = widget->nextInFocusChain()) {
        if (!pane->isAncestorOf(widget))
            continue;
        if (widget->isEnabled() && widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(reason);
            return true;
        }
    }
    return false;
}

bool FramePanes::Step(bool forward)
{
    const std::vector<QWidget*> panes = Panes();
    if (panes.empty())
        return false;
    const QWidget* focus = QApplication::focusWidget();
    const auto here = std::find_if(panes.begin(), panes.end(), [focus](QWidget* pane) {
        return focus != nullptr && (pane == focus || pane->isAncestorOf(focus));
    });
    const int count = static_cast<int>(panes.size());
    // From outside every pane, F6 starts at the first one.
    int index = here == panes.end() ? (forward ? -1 : 0) : static_cast<int>(here - panes.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = (index + (forward ? 1 : count - 1)) % count;
        if (Enter(panes[static_cast<std::size_t>(index)], forward))
            return true;
    }
    return false;
}
