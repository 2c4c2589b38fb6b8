#pragma once

#include <QByteArray>

class QIODevice;

// Reads the lines of a card text file as a text-mode stream would: LF or CR LF ends a line,
// and a line ends for good at a NUL byte. Lines and the whole file are capped, so a foreign or
// damaged file cannot exhaust memory; the part of an over-long line past the cap is dropped.
class TextLineReader final
{
public:
    static constexpr qint64 MaxLineBytes = 1 << 20;
    static constexpr qint64 MaxFileBytes = 16 << 20;

    explicit TextLineReader(QIODevice& device) : m_device(device) {}

    // False at the end of the file (or on a read error).
    bool ReadLine(QByteArray& line);

private:
    QIODevice& m_device;
    qint64 m_consumed = 0;
};
