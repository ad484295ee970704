#pragma once

#include <QObject>

// Shows the focus frame at once in a window opened from the keyboard, as the
// window system does for a dialog; otherwise Qt shows it only after the
// first Tab in that window. A window opened by the pointer shows it once the
// keyboard moves the focus. Installed on the application.
class KeyboardCues : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool lastInputWasKey_ = false;
};
