#include "platform/CRegistryManager.h"

#include "platform/PlatformServices.h"

namespace {

QStringList FittingNames(const QStringList& names, qsizetype nameBufferChars)
{
    QStringList fitting;
    fitting.reserve(names.size());
    for (const QString& name : names) {
        if (name.size() < nameBufferChars)
            fitting.append(name);
    }
    return fitting;
}

} // namespace

CRegistryManager::CRegistryManager() : m_backend(PlatformServices::Instance().Registry()) {}

CRegistryManager::CRegistryManager(std::shared_ptr<const RegistryBackend> backend)
    : m_backend(std::move(backend))
{}

CRegistryManager::~CRegistryManager() = default;

bool CRegistryManager::OpenKey(const QString& subKey, RegistryKey& key) const
{
    key.Close();
    if (!m_backend)
        return false;
    const QString path = subKey.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
    if (!m_backend->KeyExists(path))
        return false;
    key = RegistryKey(path);
    return true;
}

bool CRegistryManager::EnumSubkeyNames(const RegistryKey& key, QStringList& names,
                                       qsizetype nameBufferChars) const
{
    if (!m_backend || !key.IsOpen())
        return false;
    const std::optional<QStringList> all = m_backend->SubkeyNames(key.Path());
    if (!all)
        return false;
    names = FittingNames(*all, nameBufferChars);
    return true;
}

bool CRegistryManager::EnumValueNames(const RegistryKey& key, QStringList& names,
                                      qsizetype nameBufferChars) const
{
    if (!m_backend || !key.IsOpen())
        return false;
    const std::optional<QStringList> all = m_backend->ValueNames(key.Path());
    if (!all)
        return false;
    names = FittingNames(*all, nameBufferChars);
    return true;
}

bool CRegistryManager::QueryValue(const RegistryKey& key, const QString& valueName, qsizetype bufferBytes,
                                  QByteArray& data, quint32* type) const
{
    if (!m_backend || !key.IsOpen())
        return false;
    const std::optional<RegistryValue> value = m_backend->Value(key.Path(), valueName);
    // A value larger than the caller's buffer is not delivered in part.
    if (!value || value->m_data.size() > bufferBytes)
        return false;
    data = value->m_data;
    if (type)
        *type = value->m_type;
    return true;
}

bool CRegistryManager::QueryStringValue(const RegistryKey& key, const QString& valueName,
                                        qsizetype bufferBytes, QString& text) const
{
    QByteArray data;
    quint32 type = RegistryValue::None;
    if (!QueryValue(key, valueName, bufferBytes, data, &type))
        return false;
    if (type != RegistryValue::String && type != RegistryValue::ExpandString &&
        type != RegistryValue::MultiString)
        return false;
    const qsizetype units = data.size() / 2;
    QString decoded;
    decoded.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(static_cast<quint8>(data[2 * i]) |
                                                (static_cast<quint8>(data[2 * i + 1]) << 8));
        if (unit == 0)
            break;
        decoded.append(QChar(unit));
    }
    text = decoded;
    return true;
}
