#pragma once

#include <QObject>

#include <functional>

// Runs a function after the events that are already waiting, the windows'
// repaints among them (the toolkit posts those at low priority too), once for
// every Post(). It goes with its parent.
class LowPriorityCall : public QObject {
public:
    LowPriorityCall(QObject* parent, std::function<void()> call);

    void Post();

protected:
    bool event(QEvent* event) override;

private:
    std::function<void()> call_;
};
