#include "ui/CommandEvent.h"

CommandEvent::CommandEvent(int id) : QEvent(EventType()), m_id(id) {}

QEvent::Type CommandEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
