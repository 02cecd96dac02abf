#include "trend/trend_cursor.h"

#include "base/numbers.h"
#include "trend/trend_statistics.h"

#include <QDateTime>
#include <cmath>

namespace orx {

std::optional<qint64> timeAtOffset(double offset, TimeSpan times, double width)
{
    if (!(width > 0) || !(offset >= 0 && offset <= width) || times.toMs <= times.fromMs)
        return std::nullopt;
    return times.fromMs + qint64(std::llround(offset / width * double(times.toMs - times.fromMs)));
}

std::optional<size_t> nearestPoint(const std::deque<TrendPoint>& points, qint64 timeMs, TimeSpan times)
{
    std::optional<size_t> nearest;
    qint64 distance = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const qint64 t = points[i].timeMs;
        if (t < times.fromMs || t > times.toMs)
            continue;
        const qint64 d = t > timeMs ? t - timeMs : timeMs - t;
        if (!nearest || d < distance) {
            nearest = i;
            distance = d;
        }
    }
    return nearest;
}

QStringList cursorReadout(const TrendPoint& point, bool withPower)
{
    const auto reading = [](const std::optional<double>& value, QString (*format)(double), const char* unit) {
        const QString u = QLatin1String(unit);
        return value ? format(*value) + u' ' + u : QStringLiteral("no reading (%1)").arg(u);
    };
    QStringList lines{QDateTime::fromMSecsSinceEpoch(point.timeMs).toString(QStringLiteral("HH:mm:ss.zzz")),
                      reading(point.volts, formatTruncated3, "V"),
                      reading(point.amperes, formatTruncated3, "A")};
    if (withPower)
        lines.append(reading(readingOf(point, TrendQuantity::Watts), format3, "W"));
    return lines;
}

} // namespace orx
