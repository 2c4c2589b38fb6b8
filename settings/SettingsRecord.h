#pragma once

#include "settings/RecordLayout.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>

// The camera's whole configuration: one 564-byte block, little endian, kept byte for byte as the
// card holds it. The process has one shared instance that every page edits in place.
class SettingsRecord final
{
public:
    static constexpr int Size = 564;

    SettingsRecord() { Clear(); }

    void Clear() { m_bytes.fill(0); }
    char* Data() { return m_bytes.data(); }
    const char* Data() const { return m_bytes.data(); }
    QByteArray ToByteArray() const { return QByteArray(m_bytes.data(), Size); }

    qint32 Int32(const FieldSpec& field) const;
    quint32 UInt32(const FieldSpec& field) const;
    void SetInt32(const FieldSpec& field, qint32 value);
    void SetUInt32(const FieldSpec& field, quint32 value);

    QByteArray Bytes(const FieldSpec& field) const;
    void SetBytes(const FieldSpec& field, QByteArrayView value); // zero-pads, cuts at the width

    // Text fields in the PC's code page; the text ends at the first NUL or at the field's end.
    QString Text(const FieldSpec& field) const;
    void SetText(const FieldSpec& field, const QString& value);

    // The process-wide block: absent (null) until created, released when the main window closes.
    static SettingsRecord* Instance();
    static SettingsRecord& CreateInstance();
    static void ReleaseInstance();

private:
    std::array<char, Size> m_bytes;
};
