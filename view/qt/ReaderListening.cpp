#include "view/qt/ReaderListening.h"

void ReaderListening::Follow()
{
    static ReaderListening observer;
    static const bool following = [] {
        QAccessible::installActivationObserver(&observer);
        listening_ = QAccessible::isActive();
        return true;
    }();
    Q_UNUSED(following);
}
