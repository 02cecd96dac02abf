#pragma once
// The text of the trend's CSV log. A header of comment lines names the instrument, the interface and
// the start; then a line of column names; then one line per monitoring tick:
//
//   # ORX Panel trend log
//   # Instrument: QZ.Inc,ORX-A100,SN0001,1.02
//   # Interface: COM2 9600
//   # Started: 2024-05-01T14:03:07.000+02:00
//   Time,Voltage (V),Current (A),Output,Charge (Ah),Energy (Wh)
//   2024-05-01T14:03:08.123+02:00,12.345,0.500,ON,0.001250,0.015431
//
// Readings are written as the monitor displays show them (three decimals, cut, never rounded); a
// reading whose answer went missing is an empty field. The output column is the output switch after
// the tick, so the last line of a log that stopped with a trip says OFF. The charge and energy are
// the window's running totals up to the tick (since the trend began watching or was last reset), with
// six decimals; they were added after the first four columns, which keep their places. Numbers ignore
// the locale.
//
// The trend's export of the readings in view has the same columns, under a header that names the
// stretch of time shown instead of the start.

#include "trend/trend_scale.h"

#include <QString>

namespace orx {

inline const QString kTrendLogColumns =
    QStringLiteral("Time,Voltage (V),Current (A),Output,Charge (Ah),Energy (Wh)");

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
QString trendLogLine(const TrendPoint& point, int utcOffsetSeconds);

// The export of the points within `times`: the header, then each point's line in local time, each
// ending with a line feed.
QString trendReadingsText(const std::deque<TrendPoint>& points, TimeSpan times, const TrendLogStart& about);

} // namespace orx
