#pragma once

#include <QEvent>

// A control's click, posted (queued) to its parent widget with the control's id, so the
// parent handles it only after the control has finished handling the mouse release.
class CommandEvent final : public QEvent
{
public:
    explicit CommandEvent(int id);

    int Id() const { return m_id; }

    static QEvent::Type EventType();

    CommandEvent* clone() const override { return new CommandEvent(*this); }

protected:
    CommandEvent(const CommandEvent&) = default;

private:
    int m_id;
};
