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

    SettingsRecord() { clear(); }

    void clear() { m_bytes.fill(0); }
    char* data() { return m_bytes.data(); }
    const char* data() const { return m_bytes.data(); }
    QByteArray toByteArray() const { return QByteArray(m_bytes.data(), Size); }

    qint32 int32(const FieldSpec& field) const;
    quint32 uint32(const FieldSpec& field) const;
    void setInt32(const FieldSpec& field, qint32 value);
    void setUInt32(const FieldSpec& field, quint32 value);

    QByteArray bytes(const FieldSpec& field) const;
    void setBytes(const FieldSpec& field, QByteArrayView value); // zero-pads, cuts at the width

    // Text fields in the PC's code page; the text ends at the first NUL or at the field's end.
    QString text(const FieldSpec& field) const;
    void setText(const FieldSpec& field, const QString& value);

    // The process-wide block: absent until created, released when the main window closes.
    static SettingsRecord* shared() { return s_shared.get(); }
    static SettingsRecord& createShared();
    static SettingsRecord& ensureShared();
    static void releaseShared() { s_shared.reset(); }

private:
    std::array<char, Size> m_bytes;
    static std::unique_ptr<SettingsRecord> s_shared;
};
