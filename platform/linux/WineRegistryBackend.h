#pragma once

#include "platform/RegistryBackend.h"

#include <QMutex>
#include <QString>
#include <memory>
#include <optional>

class WineRegistryFile;

// HKEY_LOCAL_MACHINE as Wine keeps it for the programs of one prefix: the text file system.reg
// in the prefix folder. The maker's viewer is a Windows program, so on this platform its
// registry values live there. The file is read only when a question is asked, again only when
// it has changed since, and never beyond a size cap; a missing, oversized or damaged file simply
// holds no keys.
class WineRegistryBackend final : public RegistryBackend
{
public:
    static constexpr qint64 kDefaultMaxFileBytes = 64 * 1024 * 1024;

    // The prefix Wine itself would use ($WINEPREFIX, else ~/.wine), looked up at every question.
    WineRegistryBackend();
    // A fixed prefix folder.
    explicit WineRegistryBackend(QString prefixPath, qint64 maxFileBytes = kDefaultMaxFileBytes);
    ~WineRegistryBackend() override;

    // $WINEPREFIX when set (Wine refuses a relative one: then there is no prefix, so empty),
    // else $HOME/.wine.
    static QString DefaultPrefix();

    bool KeyExists(const QString& keyPath) const override;
    std::optional<QStringList> SubkeyNames(const QString& keyPath) const override;
    std::optional<QStringList> ValueNames(const QString& keyPath) const override;
    std::optional<RegistryValue> Value(const QString& keyPath, const QString& valueName) const override;

private:
    struct FileStamp
    {
        QString m_path;
        qint64 m_size = -1;
        qint64 m_modifiedNs = 0;
        quint64 m_inode = 0;
        bool operator==(const FileStamp&) const = default;
    };

    std::shared_ptr<const WineRegistryFile> Load() const;

    std::optional<QString> m_prefixPath;
    qint64 m_maxFileBytes = kDefaultMaxFileBytes;

    mutable QMutex m_mutex;
    mutable bool m_hasCache = false;
    mutable FileStamp m_cachedStamp;
    mutable std::shared_ptr<const WineRegistryFile> m_cachedFile;
};
