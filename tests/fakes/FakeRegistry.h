#pragma once

#include "platform/RegistryBackend.h"

#include <QList>
#include <QStringList>
#include <utility>

// A registry holding one key at most, whose values and subkey names the test sets. Key paths and
// value names compare without regard to letter case, as the registry's own do; every key path
// asked about is remembered.
class FakeRegistry final : public RegistryBackend
{
public:
    // No key at all.
    FakeRegistry() = default;
    explicit FakeRegistry(QString keyPath) : m_keyPath(std::move(keyPath)) {}
    // The key with one text value.
    FakeRegistry(QString keyPath, const QString& valueName, const QString& text);

    void SetValue(const QString& name, RegistryValue value);
    void SetSubkeys(QStringList names) { m_subkeys = std::move(names); }
    QStringList AskedPaths() const { return m_askedPaths; }

    bool KeyExists(const QString& keyPath) const override;
    std::optional<QStringList> SubkeyNames(const QString& keyPath) const override;
    std::optional<QStringList> ValueNames(const QString& keyPath) const override;
    std::optional<RegistryValue> Value(const QString& keyPath, const QString& valueName) const override;

private:
    qsizetype IndexOf(const QString& valueName) const;

    std::optional<QString> m_keyPath;
    QList<std::pair<QString, RegistryValue>> m_values; // in the order they were set
    QStringList m_subkeys;
    mutable QStringList m_askedPaths;
};
