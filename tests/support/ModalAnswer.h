#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs an action on the next modal window that comes up, from inside its
// modal loop: a way to answer a real dialog shown by the code under test.
// The watch ends with the context object, so that a watch that found no
// dialog can never fire into a later test.
inline void WhenModalShows(QObject* context, std::function<void(QWidget*)> action, int attempts = 500)
{
    QTimer::singleShot(10, context, [context, action = std::move(action), attempts]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
            return;
        }
        if (attempts > 0)
            WhenModalShows(context, std::move(action), attempts - 1);
    });
}
