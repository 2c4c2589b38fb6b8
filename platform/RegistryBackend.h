#pragma once

#include "platform/RegistryValue.h"

#include <QString>
#include <QStringList>
#include <optional>

// Read access to the machine-wide registry tree (HKEY_LOCAL_MACHINE). Key paths are relative to
// it with components separated by '\' (the empty path is the tree's root); key and value names
// compare without regard to letter case; the default value of a key has the empty name.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;

    virtual bool KeyExists(const QString& keyPath) const = 0;
    // Names of the direct subkeys, in the registry's enumeration order; nullopt for a missing key.
    virtual std::optional<QStringList> SubkeyNames(const QString& keyPath) const = 0;
    // Names of the key's values, in the registry's enumeration order; nullopt for a missing key.
    virtual std::optional<QStringList> ValueNames(const QString& keyPath) const = 0;
    virtual std::optional<RegistryValue> Value(const QString& keyPath, const QString& valueName) const = 0;

protected:
    RegistryBackend() = default;
    Q_DISABLE_COPY_MOVE(RegistryBackend)
};
