#pragma once

#include "platform/WindowFinder.h"

#include <QStringList>

// Windows by title, as a WindowFinder sees them; the id of a title is its place in the list + 1.
class FakeWindowFinder final : public WindowFinder
{
public:
    explicit FakeWindowFinder(QStringList titles = {}) : m_titles(std::move(titles)) {}

    std::optional<quint64> FindTopLevelWindow(const QString& title) const override
    {
        const qsizetype index = m_titles.indexOf(title);
        return index < 0 ? std::nullopt : std::optional<quint64>(quint64(index + 1));
    }

private:
    QStringList m_titles;
};
