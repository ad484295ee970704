#pragma once

#include <QAccessible>

// Whether a screen reader is listening (QAccessible::isActive()), kept as the
// toolkit reports its changes, so that asking costs one load instead of a call
// through the platform: the map asks for every cell that changes.
class ReaderListening : public QAccessible::ActivationObserver {
public:
    // Starts following the toolkit; once is enough.
    static void Follow();
    static bool Now() { return listening_; }

    void accessibilityActiveChanged(bool active) override { listening_ = active; }

private:
    static inline bool listening_ = false;
};
