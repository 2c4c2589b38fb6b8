#pragma once

#include <QByteArray>
#include <optional>

// Sets (or, with nullopt, removes) one environment variable for the lifetime of the object and
// then restores what was there before, including its absence.
class ScopedEnvironmentVariable final
{
public:
    ScopedEnvironmentVariable(const char* name, const std::optional<QByteArray>& value);
    ~ScopedEnvironmentVariable();

private:
    Q_DISABLE_COPY_MOVE(ScopedEnvironmentVariable)

    QByteArray m_name;
    std::optional<QByteArray> m_saved;
};
