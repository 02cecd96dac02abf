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

namespace {

QString header(const char* title, const TrendLogStart& about, const QString& when)
{
    return QStringLiteral("# ORX Panel %1\n# Instrument: %2\n# Interface: %3\n# %4\n%5\n")
        .arg(QLatin1String(title), oneLineText(about.identity), oneLineText(about.interfaceName), when,
             kTrendLogColumns);
}

} // namespace

QString trendLogHeader(const TrendLogStart& start)
{
    return header("trend log", start,
                  QStringLiteral("Started: ") + isoTimeWithMs(start.startMs, start.utcOffsetSeconds));
}

QString trendLogLine(const TrendPoint& point, int utcOffsetSeconds)
{
    const auto reading = [](const std::optional<double>& value) {
        return value ? formatTruncated3(*value) : QString();
    };
    return isoTimeWithMs(point.timeMs, utcOffsetSeconds) + u',' + reading(point.volts) + u',' +
           reading(point.amperes) + u',' + (point.outputOn ? QStringLiteral("ON") : QStringLiteral("OFF")) +
           u',' + formatFixed(point.energy.ampereHours, 6) + u',' + formatFixed(point.energy.wattHours, 6);
}

QString trendReadingsText(const std::deque<TrendPoint>& points, TimeSpan times, const TrendLogStart& about)
{
    const auto local = [](qint64 ms) {
        return isoTimeWithMs(ms, localUtcOffsetSeconds(ms));
    };
    QString text = header("trend readings", about,
                          QStringLiteral("Shown: %1 to %2").arg(local(times.fromMs), local(times.toMs)));
    for (const TrendPoint& point : points) {
        if (point.timeMs >= times.fromMs && point.timeMs <= times.toMs)
            text += trendLogLine(point, localUtcOffsetSeconds(point.timeMs)) + u'\n';
    }
    return text;
}

} // namespace orx
