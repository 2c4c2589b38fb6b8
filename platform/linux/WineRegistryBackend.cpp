#include "platform/linux/WineRegistryBackend.h"

#include "platform/linux/WineRegistryFile.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

WineRegistryBackend::WineRegistryBackend() = default;

WineRegistryBackend::WineRegistryBackend(QString prefixPath, qint64 maxFileBytes)
    : m_prefixPath(std::move(prefixPath)), m_maxFileBytes(maxFileBytes)
{}

WineRegistryBackend::~WineRegistryBackend() = default;

QString WineRegistryBackend::DefaultPrefix()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty())
        return QDir::isAbsolutePath(prefix) ? QDir::cleanPath(prefix) : QString();
    return QDir::cleanPath(QDir::homePath() + "/.wine"_L1);
}

std::shared_ptr<const WineRegistryFile> WineRegistryBackend::Load() const
{
    const QString prefix = m_prefixPath ? *m_prefixPath : DefaultPrefix();
    if (prefix.isEmpty())
        return nullptr;
    const QString path = prefix + "/system.reg"_L1;

    struct stat info
    {
    };
    const QByteArray encoded = QFile::encodeName(path);
    if (::stat(encoded.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > m_maxFileBytes)
        return nullptr;
    const FileStamp stamp{path, static_cast<qint64>(info.st_size),
                          static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                          static_cast<quint64>(info.st_ino)};

    QMutexLocker lock(&m_mutex);
    if (m_hasCache && stamp == m_cachedStamp)
        return m_cachedFile;
    m_hasCache = false;
    m_cachedFile.reset();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    // The file may have grown since it was examined: never read past the cap.
    const QByteArray content = file.read(m_maxFileBytes + 1);
    if (content.size() > m_maxFileBytes)
        return nullptr;
    // A damaged file is remembered as such too, so it is not parsed again until it changes.
    std::optional<WineRegistryFile> parsed = WineRegistryFile::Parse(content);
    if (parsed)
        m_cachedFile = std::make_shared<const WineRegistryFile>(std::move(*parsed));
    m_cachedStamp = stamp;
    m_hasCache = true;
    return m_cachedFile;
}

bool WineRegistryBackend::KeyExists(const QString& keyPath) const
{
    const std::shared_ptr<const WineRegistryFile> file = Load();
    return file && file->HasKey(keyPath);
}

std::optional<QStringList> WineRegistryBackend::SubkeyNames(const QString& keyPath) const
{
    const std::shared_ptr<const WineRegistryFile> file = Load();
    if (!file)
        return std::nullopt;
    return file->SubkeyNames(keyPath);
}

std::optional<QStringList> WineRegistryBackend::ValueNames(const QString& keyPath) const
{
    const std::shared_ptr<const WineRegistryFile> file = Load();
    if (!file)
        return std::nullopt;
    return file->ValueNames(keyPath);
}

std::optional<RegistryValue> WineRegistryBackend::Value(const QString& keyPath,
                                                        const QString& valueName) const
{
    const std::shared_ptr<const WineRegistryFile> file = Load();
    if (!file)
        return std::nullopt;
    return file->Value(keyPath, valueName);
}
