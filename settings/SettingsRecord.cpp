#include "settings/SettingsRecord.h"

#include "settings/AnsiCodePage.h"

#include <QtEndian>
#include <cstring>

std::unique_ptr<SettingsRecord> SettingsRecord::s_shared;

qint32 SettingsRecord::int32(const FieldSpec& field) const
{
    Q_ASSERT(field.width == 4);
    return qFromLittleEndian<qint32>(m_bytes.data() + field.offset);
}

quint32 SettingsRecord::uint32(const FieldSpec& field) const
{
    Q_ASSERT(field.width == 4);
    return qFromLittleEndian<quint32>(m_bytes.data() + field.offset);
}

void SettingsRecord::setInt32(const FieldSpec& field, qint32 value)
{
    Q_ASSERT(field.width == 4);
    qToLittleEndian<qint32>(value, m_bytes.data() + field.offset);
}

void SettingsRecord::setUInt32(const FieldSpec& field, quint32 value)
{
    Q_ASSERT(field.width == 4);
    qToLittleEndian<quint32>(value, m_bytes.data() + field.offset);
}

QByteArray SettingsRecord::bytes(const FieldSpec& field) const
{
    return QByteArray(m_bytes.data() + field.offset, field.width);
}

void SettingsRecord::setBytes(const FieldSpec& field, QByteArrayView value)
{
    char* target = m_bytes.data() + field.offset;
    std::memset(target, 0, field.width);
    std::memcpy(target, value.data(), std::min<qsizetype>(value.size(), field.width));
}

QString SettingsRecord::text(const FieldSpec& field) const
{
    const char* begin = m_bytes.data() + field.offset;
    const auto length = qstrnlen(begin, field.width);
    return AnsiCodePage::toUnicode(QByteArrayView(begin, length));
}

void SettingsRecord::setText(const FieldSpec& field, const QString& value)
{
    setBytes(field, AnsiCodePage::fromUnicode(value));
}

SettingsRecord& SettingsRecord::createShared()
{
    s_shared = std::make_unique<SettingsRecord>();
    return *s_shared;
}

SettingsRecord& SettingsRecord::ensureShared()
{
    return s_shared ? *s_shared : createShared();
}
