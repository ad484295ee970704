#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs an action once: right after a widget's first paint, when the event
// loop next turns, or when Finish() is called first. Work that the widget's
// first appearance does not need then waits until it is on the screen.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& widget, std::function<void()> action);

    // Runs the action now unless it has run.
    void Finish();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& widget_;
    std::function<void()> action_;
};
