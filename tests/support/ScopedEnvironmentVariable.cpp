#include "tests/support/ScopedEnvironmentVariable.h"

#include <QtGlobal>

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const std::optional<QByteArray>& value)
    : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_saved = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    if (m_saved)
        qputenv(m_name.constData(), *m_saved);
    else
        qunsetenv(m_name.constData());
}
