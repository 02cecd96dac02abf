#pragma once
// The text of the trend's CSV log. A header of comment lines names the instrument, the interface and
// the start; then a line of column names; then one line per monitoring tick:
//
//   # ORX Panel trend log
//   # Instrument: QZ.Inc,ORX-A100,SN0001,1.02
//   # Interface: COM2 9600
//   # Started: 2024-05-01T14:03:07.000+02:00
//   Time,Voltage (V),Current (A),Output
//   2024-05-01T14:03:08.123+02:00,12.345,0.500,ON
//
// Readings are written as the monitor displays show them (three decimals, cut, never rounded); a
// reading whose answer went missing is an empty field. The output column is the output switch after
// the tick, so the last line of a log that stopped with a trip says OFF. Numbers ignore the locale.

#include "panel/monitoring_loop.h"

#include <QString>

namespace orx {

inline const QString kTrendLogColumns = QStringLiteral("Time,Voltage (V),Current (A),Output");

// ISO 8601 local time with milliseconds and the offset from UTC: "2024-05-01T14:03:08.123+02:00".
QString isoTimeWithMs(qint64 msSinceEpoch, int utcOffsetSeconds);

// The offset from UTC of the local time zone at a moment, in seconds.
int localUtcOffsetSeconds(qint64 msSinceEpoch);

// A text from outside (the instrument's identity answer) as one header line can hold it: control
// characters become blanks, and blanks around it go.
QString oneLineText(const QString& text);

struct TrendLogStart
{
    QString identity;      // the identity answer of the connected instrument
    QString interfaceName; // "COM2 9600" or "GPIB 8"
    qint64 startMs = 0;
    int utcOffsetSeconds = 0;
};

// The header and the column names, each line ending with a line feed.
QString trendLogHeader(const TrendLogStart& start);

// One tick's line, without its line feed.
QString trendLogLine(qint64 timeMs, int utcOffsetSeconds, const TickReadings& readings);

} // namespace orx
