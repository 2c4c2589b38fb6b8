#include "settings/ClockFile.h"

#include "settings/DeviceClock.h"
#include "settings/SystemClock.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Only the first line matters; a file without line breaks is not scanned past this.
constexpr qint64 MaxLineBytes = 1 << 20;

// Parses the first six comma-separated items of the first line as a decimal atol would
// (leading white space, optional sign, digits; overflow saturates), without keeping the line.
class ClockLineParser
{
public:
    static constexpr int Items = 6;

    // Returns false once the line has ended.
    bool Feed(char c)
    {
        if (c == '\n' || c == '\0')
            return false;
        if (c == ',') {
            FinishItem();
            ++m_item;
            m_phase = Phase::Leading;
            return true;
        }
        if (m_item >= Items)
            return true;
        switch (m_phase) {
        case Phase::Leading:
            if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f')
                return true;
            m_phase = Phase::Digits;
            if (c == '+' || c == '-') {
                m_negative = c == '-';
                return true;
            }
            [[fallthrough]];
        case Phase::Digits:
            if (c >= '0' && c <= '9') {
                if (m_magnitude <= Limit)
                    m_magnitude = m_magnitude * 10 + (c - '0');
            } else {
                m_phase = Phase::Done;
            }
            return true;
        case Phase::Done:
            return true;
        }
        return true;
    }

    void FinishItem()
    {
        if (m_item < Items) {
            qint64 value = m_negative ? -m_magnitude : m_magnitude;
            value = std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                       std::numeric_limits<qint32>::max());
            m_values[m_item] = quint16(value & 0xFFFF);
        }
        m_negative = false;
        m_magnitude = 0;
    }

    const std::array<quint16, Items>& Values() const { return m_values; }

private:
    static constexpr qint64 Limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    enum class Phase
    {
        Leading,
        Digits,
        Done
    };
    std::array<quint16, Items> m_values{};
    int m_item = 0;
    Phase m_phase = Phase::Leading;
    bool m_negative = false;
    qint64 m_magnitude = 0;
};

} // namespace

bool ReadClockFile(DeviceClock& clock, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clock.is_set = false;
        return false;
    }
    ClockLineParser parser;
    qint64 scanned = 0;
    bool sawAnything = false;
    char chunk[4096];
    bool lineOpen = true;
    while (lineOpen && scanned < MaxLineBytes) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            clock.is_set = false;
            return false;
        }
        if (n == 0)
            break;
        sawAnything = true;
        for (qint64 i = 0; i < n && lineOpen; ++i)
            lineOpen = parser.Feed(chunk[i]);
        scanned += n;
    }
    if (!sawAnything) {
        clock.is_set = false;
        return false;
    }
    parser.FinishItem();
    const auto& v = parser.Values();
    clock.year = v[0];
    clock.month = v[1];
    clock.day = v[2];
    clock.hour = v[3];
    clock.minute = v[4];
    clock.second = v[5];
    clock.is_set = true;
    return true;
}

bool ReadClockFile(const QString& path)
{
    return ReadClockFile(DeviceClock::Instance(), path);
}

QByteArray FormatClockLine(const DeviceClock& clock, int offsetMinutes)
{
    const char sign = offsetMinutes > 0 ? '+' : '-';
    const int magnitude = std::abs(offsetMinutes);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%4d,%02d,%02d,%02d,%02d,%02d,%c%02d%02d", clock.year,
                                     clock.month, clock.day, clock.hour, clock.minute, clock.second, sign,
                                     magnitude / 60, magnitude % 60);
    return QByteArray(line, std::clamp(length, 0, int(sizeof line) - 1));
}

bool WriteClockFile(const DeviceClock& clock, const QString& path, int offsetMinutes)
{
    if (!clock.is_set) {
        // A card without a pending clock setting carries no time.dat.
        return !QFile::exists(path) || QFile::remove(path);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray line = FormatClockLine(clock, offsetMinutes);
    const bool written = file.write(line) == line.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

bool WriteClockFile(const QString& path)
{
    return WriteClockFile(DeviceClock::Instance(), path, StandardTimeOffsetMinutes());
}

int StandardTimeOffsetMinutes()
{
    return QTimeZone::systemTimeZone().standardTimeOffset(SystemClock::Instance().Now()) / 60;
}
