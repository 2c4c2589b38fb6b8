#pragma once

#include "platform/RegistryValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// The content of one Wine registry file (system.reg holds HKEY_LOCAL_MACHINE). Key paths are
// relative to the file's root, components separated by '\'; names compare without regard to
// letter case. Keys that the file only implies (parents of the keys it lists) exist without values.
class WineRegistryFile final
{
public:
    // Parses the text of a registry file. Lines that do not parse are skipped, as Wine itself does;
    // nullopt when the content does not start with the Wine registry header.
    static std::optional<WineRegistryFile> Parse(const QByteArray& content);

    bool HasKey(const QString& keyPath) const;
    // Direct subkeys in Wine's enumeration order (case-insensitive alphabetical).
    std::optional<QStringList> SubkeyNames(const QString& keyPath) const;
    // Value names in file order.
    std::optional<QStringList> ValueNames(const QString& keyPath) const;
    std::optional<RegistryValue> Value(const QString& keyPath, const QString& valueName) const;

private:
    struct Key
    {
        QStringList m_components;
        QStringList m_valueNames;
        QList<RegistryValue> m_values;
        QHash<QString, qsizetype> m_valueIndex; // by case-folded name
    };

    WineRegistryFile() = default;

    const Key* FindKey(const QString& foldedPath) const;
    void SetValue(Key& key, const QString& name, RegistryValue value);

    // By case-folded path, so that a key's descendants follow it as one contiguous range.
    std::map<QString, Key> m_keys;
};
