#include "shell/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

AfterFirstPaint::AfterFirstPaint(QWidget& widget, std::function<void()> action)
    : widget_(widget), action_(std::move(action))
{
    widget_.installEventFilter(this);
}

void AfterFirstPaint::Finish()
{
    widget_.removeEventFilter(this);
    if (!action_)
        return;
    const std::function<void()> action = std::move(action_);
    action_ = nullptr;
    action();
}

// The paint goes to the screen before the loop turns again, so a call queued
// from it runs after the widget shows.
bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &widget_ && event->type() == QEvent::Paint) {
        widget_.removeEventFilter(this);
        QTimer::singleShot(0, this, &AfterFirstPaint::Finish);
    }
    return QObject::eventFilter(watched, event);
}
