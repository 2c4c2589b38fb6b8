#pragma once

#include "platform/ViewerSignals.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

// Records posted messages; its event, when it has one, is signalled after a number of polls.
class RecordingViewerSignals final : public ViewerSignals
{
public:
    struct Post
    {
        quint64 window;
        quint32 message;
        bool operator==(const Post&) const = default;
    };

    explicit RecordingViewerSignals(std::optional<int> answerAfterPolls = std::nullopt)
        : m_answerAfterPolls(answerAfterPolls)
    {}

    bool PostWindowMessage(quint64 window, quint32 message, quint64, qint64) const override
    {
        m_posts.append({window, message});
        return true;
    }
    std::unique_ptr<NamedEvent> OpenEvent(const QString& name) const override
    {
        m_openedEvents.append(name);
        if (!m_answerAfterPolls)
            return nullptr;
        return std::make_unique<CountdownEvent>(*m_answerAfterPolls);
    }

    mutable QList<Post> m_posts;
    mutable QStringList m_openedEvents;

private:
    class CountdownEvent final : public NamedEvent
    {
    public:
        explicit CountdownEvent(int polls) : m_polls(polls) {}
        bool TryWait() override { return m_polls-- <= 0; }

    private:
        int m_polls;
    };

    std::optional<int> m_answerAfterPolls;
};
