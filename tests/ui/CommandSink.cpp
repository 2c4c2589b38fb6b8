#include "CommandSink.h"

#include "ui/CommandEvent.h"

CommandSink::CommandSink(QWidget* parent) : QWidget(parent) {}

CommandSink::~CommandSink() = default;

bool CommandSink::event(QEvent* event)
{
    if (event->type() == CommandEvent::EventType()) {
        const int id = static_cast<CommandEvent*>(event)->Id();
        m_commands.append(id);
        if (m_onCommand)
            m_onCommand(id);
        return true;
    }
    return QWidget::event(event);
}
