#include "trend/trend_log_format.h"

#include "base/numbers.h"

#include <QDateTime>
#include <cstdlib>

namespace orx {

QString isoTimeWithMs(qint64 msSinceEpoch, int utcOffsetSeconds)
{
    const QDateTime local =
        QDateTime::fromMSecsSinceEpoch(msSinceEpoch + qint64(utcOffsetSeconds) * 1000, Qt::UTC);
    const int offsetMinutes = std::abs(utcOffsetSeconds) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + (utcOffsetSeconds < 0 ? u'-' : u'+') +
           formatTwoDigit(offsetMinutes / 60) + u':' + formatTwoDigit(offsetMinutes % 60);
}

int localUtcOffsetSeconds(qint64 msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch).offsetFromUtc();
}

QString oneLineText(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return out.trimmed();
}

QString trendLogHeader(const TrendLogStart& start)
{
    return QStringLiteral("# ORX Panel trend log\n# Instrument: %1\n# Interface: %2\n# Started: %3\n%4\n")
        .arg(oneLineText(start.identity), oneLineText(start.interfaceName),
             isoTimeWithMs(start.startMs, start.utcOffsetSeconds), kTrendLogColumns);
}

QString trendLogLine(qint64 timeMs, int utcOffsetSeconds, const TickReadings& readings)
{
    const auto reading = [](const std::optional<double>& value) {
        return value ? formatTruncated3(*value) : QString();
    };
    return isoTimeWithMs(timeMs, utcOffsetSeconds) + u',' + reading(readings.volts) + u',' +
           reading(readings.amperes) + u',' +
           (readings.outputOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
}

} // namespace orx
