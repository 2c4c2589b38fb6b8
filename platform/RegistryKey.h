#pragma once

#include <QString>
#include <utility>

// A key of the machine-wide registry opened by CRegistryManager::OpenKey. A default-constructed
// or closed key refers to nothing, and every operation on it fails.
class RegistryKey final
{
public:
    RegistryKey() = default;

    bool IsOpen() const { return m_open; }
    // The key's path below HKEY_LOCAL_MACHINE, components separated by single '\'.
    const QString& Path() const { return m_path; }

    void Close()
    {
        m_open = false;
        m_path.clear();
    }

private:
    friend class CRegistryManager;
    explicit RegistryKey(QString path) : m_path(std::move(path)), m_open(true) {}

    QString m_path;
    bool m_open = false;
};
