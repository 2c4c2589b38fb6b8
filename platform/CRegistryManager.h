#pragma once

#include "platform/RegistryBackend.h"
#include "platform/RegistryKey.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// The program's wrapper of the registry calls, read-only and below HKEY_LOCAL_MACHINE. It keeps
// no state besides the registry it reads; the default one is the process's (PlatformServices).
class CRegistryManager
{
public:
    // Longest names the registry allows, in UTF-16 units including the terminating zero.
    static constexpr qsizetype kKeyNameBufferChars = 256;
    static constexpr qsizetype kValueNameBufferChars = 16384;

    CRegistryManager();
    explicit CRegistryManager(std::shared_ptr<const RegistryBackend> backend);
    virtual ~CRegistryManager();

    // Opens subKey of HKEY_LOCAL_MACHINE for reading. Empty components (a trailing '\') are
    // ignored. The tree is never written, so a missing key is not created: the call fails.
    bool OpenKey(const QString& subKey, RegistryKey& key) const;

    // Replaces names with the key's subkey names. A name that does not fit a buffer of
    // nameBufferChars UTF-16 units with its terminating zero is skipped.
    bool EnumSubkeyNames(const RegistryKey& key, QStringList& names,
                         qsizetype nameBufferChars = kKeyNameBufferChars) const;

    // Replaces names with the key's value names; the default value appears as the empty name.
    bool EnumValueNames(const RegistryKey& key, QStringList& names,
                        qsizetype nameBufferChars = kValueNameBufferChars) const;

    // Reads one value's raw bytes into data. Fails, leaving data and type untouched, when the
    // value is missing or needs more than bufferBytes bytes.
    bool QueryValue(const RegistryKey& key, const QString& valueName, qsizetype bufferBytes, QByteArray& data,
                    quint32* type = nullptr) const;

    // Reads a text value (plain, expandable or multi-string; expandable texts stay unexpanded)
    // up to its first zero character. The whole stored value, terminator included, must fit
    // bufferBytes; other value types fail.
    bool QueryStringValue(const RegistryKey& key, const QString& valueName, qsizetype bufferBytes,
                          QString& text) const;

private:
    Q_DISABLE_COPY_MOVE(CRegistryManager)

    std::shared_ptr<const RegistryBackend> m_backend;
};
