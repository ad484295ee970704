#include "view/qt/LowPriorityCall.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

QEvent::Type CallType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace

LowPriorityCall::LowPriorityCall(QObject* parent, std::function<void()> call) : QObject(parent), call_(std::move(call))
{
}

void LowPriorityCall::Post() { QCoreApplication::postEvent(this, new QEvent(CallType()), Qt::LowEventPriority); }

bool LowPriorityCall::event(QEvent* event)
{
    if (event->type() != CallType())
        return QObject::event(event);
    call_();
    return true;
}
