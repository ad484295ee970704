#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

// The keyboard's way around the frame, as in a multiple-document program of
// the system: F6 and Ctrl+Tab go to the next pane (the map window, the main
// toolbar, the owner toolbar, the map-data panel), Shift+F6 and
// Ctrl+Shift+Tab to the previous one; a hidden bar is passed over. Within a
// pane, and from one to the next, Tab and Shift+Tab follow the focus chain.
class FramePanes : public QObject {
    Q_OBJECT
public:
    // The map window comes and goes: mapWindow gives the current one or null.
    FramePanes(QWidget& frame, std::function<QWidget*()> mapWindow, std::vector<QWidget*> bars);

    // Moves to the next (forward) or previous pane; false when none can take
    // the focus.
    bool Step(bool forward);

private:
    std::vector<QWidget*> Panes() const;
    static bool Enter(QWidget* pane, bool forward);

    QWidget& frame_;
    std::function<QWidget*()> mapWindow_;
    std::vector<QWidget*> bars_;
};
