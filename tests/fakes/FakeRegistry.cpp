#include "tests/fakes/FakeRegistry.h"

FakeRegistry::FakeRegistry(QString keyPath, const QString& valueName, const QString& text)
    : m_keyPath(std::move(keyPath))
{
    // REG_SZ: UTF-16 LE with its terminating zero.
    RegistryValue value;
    value.m_type = RegistryValue::String;
    const QString terminated = text + QChar(0);
    for (const QChar c : terminated) {
        value.m_data.append(char(c.unicode() & 0xFF));
        value.m_data.append(char(c.unicode() >> 8));
    }
    SetValue(valueName, value);
}

void FakeRegistry::SetValue(const QString& name, RegistryValue value)
{
    const qsizetype index = IndexOf(name);
    if (index < 0)
        m_values.append({name, std::move(value)});
    else
        m_values[index].second = std::move(value);
}

qsizetype FakeRegistry::IndexOf(const QString& valueName) const
{
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).first.compare(valueName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool FakeRegistry::KeyExists(const QString& keyPath) const
{
    m_askedPaths.append(keyPath);
    return m_keyPath && keyPath.compare(*m_keyPath, Qt::CaseInsensitive) == 0;
}

std::optional<QStringList> FakeRegistry::SubkeyNames(const QString& keyPath) const
{
    return KeyExists(keyPath) ? std::optional(m_subkeys) : std::nullopt;
}

std::optional<QStringList> FakeRegistry::ValueNames(const QString& keyPath) const
{
    if (!KeyExists(keyPath))
        return std::nullopt;
    QStringList names;
    for (const auto& [name, value] : m_values)
        names.append(name);
    return names;
}

std::optional<RegistryValue> FakeRegistry::Value(const QString& keyPath, const QString& valueName) const
{
    const qsizetype index = IndexOf(valueName);
    if (!KeyExists(keyPath) || index < 0)
        return std::nullopt;
    return m_values.at(index).second;
}
