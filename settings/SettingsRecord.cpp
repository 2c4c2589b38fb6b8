#include "settings/SettingsRecord.h"

#include "settings/AnsiCodePage.h"

#include <QtEndian>
#include <cstring>

qint32 SettingsRecord::Int32(const FieldSpec& field) const
{
    Q_ASSERT(field.width == 4);
    return qFromLittleEndian<qint32>(m_bytes.data() + field.offset);
}

quint32 SettingsRecord::UInt32(const FieldSpec& field) const
{
    Q_ASSERT(field.width == 4);
    return qFromLittleEndian<quint32>(m_bytes.data() + field.offset);
}

void SettingsRecord::SetInt32(const FieldSpec& field, qint32 value)
{
    Q_ASSERT(field.width == 4);
    qToLittleEndian<qint32>(value, m_bytes.data() + field.offset);
}

void SettingsRecord::SetUInt32(const FieldSpec& field, quint32 value)
{
    Q_ASSERT(field.width == 4);
    qToLittleEndian<quint32>(value, m_bytes.data() + field.offset);
}

QByteArray SettingsRecord::Bytes(const FieldSpec& field) const
{
    return QByteArray(m_bytes.data() + field.offset, field.width);
}

void SettingsRecord::SetBytes(const FieldSpec& field, QByteArrayView value)
{
    char* target = m_bytes.data() + field.offset;
    std::memset(target, 0, field.width);
    std::memcpy(target, value.data(), std::min<qsizetype>(value.size(), field.width));
}

QString SettingsRecord::Text(const FieldSpec& field) const
{
    const char* begin = m_bytes.data() + field.offset;
    const auto length = qstrnlen(begin, field.width);
    return AnsiCodePage::ToUnicode(QByteArrayView(begin, length));
}

void SettingsRecord::SetText(const FieldSpec& field, const QString& value)
{
    SetBytes(field, AnsiCodePage::FromUnicode(value));
}

namespace {

std::unique_ptr<SettingsRecord>& Storage()
{
    static std::unique_ptr<SettingsRecord> record;
    return record;
}

} // namespace

SettingsRecord* SettingsRecord::Instance()
{
    return Storage().get();
}

SettingsRecord& SettingsRecord::CreateInstance()
{
    Storage() = std::make_unique<SettingsRecord>();
    return *Storage();
}

void SettingsRecord::ReleaseInstance()
{
    Storage().reset();
}
