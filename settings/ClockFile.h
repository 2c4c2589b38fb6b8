#pragma once

#include <QByteArray>
#include <QString>

struct DeviceClock;

// time.dat: one ASCII line "YYYY,MM,DD,hh,mm,ss,+hhmm" from which the camera sets its clock.
// The overloads without a clock use the process-wide one and the PC's standard-time offset.
bool ReadClockFile(DeviceClock& clock, const QString& path);
bool ReadClockFile(const QString& path);
bool WriteClockFile(const DeviceClock& clock, const QString& path, int offsetMinutes);
bool WriteClockFile(const QString& path);

QByteArray FormatClockLine(const DeviceClock& clock, int offsetMinutes);

// Local standard time minus UTC, in minutes, daylight saving not applied, as it stands now (a
// zone may have moved its standard time over the years).
int StandardTimeOffsetMinutes();
