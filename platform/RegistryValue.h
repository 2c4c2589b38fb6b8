#pragma once

#include <QByteArray>
#include <QtGlobal>

// One registry value as the registry keeps it: its type number and its raw bytes. Strings are
// UTF-16 little-endian including their terminating zero, so a text of N characters takes
// (N + 1) * 2 bytes.
struct RegistryValue final
{
    enum Type : quint32
    {
        None = 0,
        String = 1,
        ExpandString = 2,
        Binary = 3,
        DWord = 4,
        MultiString = 7,
    };

    quint32 m_type = None;
    QByteArray m_data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};
