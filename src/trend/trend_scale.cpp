#include "trend/trend_scale.h"

#include "trend/trend_statistics.h"

#include <algorithm>
#include <cmath>

namespace orx {

TimeSpan shownTimes(const TrendBuffer& buffer, qint64 spanMs, qint64 nowMs, std::optional<qint64> endMs)
{
    const TimeSpan ends = scrollEnds(buffer, spanMs, nowMs);
    const qint64 end = endMs ? std::clamp(*endMs, ends.fromMs, ends.toMs) : ends.toMs;
    return TimeSpan{end - spanMs, end};
}

TimeSpan scrollEnds(const TrendBuffer& buffer, qint64 spanMs, qint64 nowMs)
{
    if (buffer.points().empty())
        return TimeSpan{nowMs, nowMs};
    const qint64 newest = buffer.points().back().timeMs;
    return TimeSpan{std::min(buffer.points().front().timeMs + spanMs, newest), newest};
}

std::optional<ValueSpan> valueExtent(const TrendBuffer& buffer, TrendQuantity quantity, TimeSpan times)
{
    const std::optional<Statistics> stats = statisticsOf(buffer.points(), quantity, times);
    if (!stats)
        return std::nullopt;
    return ValueSpan{stats->min, stats->max};
}

ValueSpan autoscale(const std::optional<ValueSpan>& extent, double minimumSpan)
{
    if (!extent)
        return ValueSpan{};
    const double spread = extent->high - extent->low;
    if (!std::isfinite(spread))
        return *extent; // readings at the ends of the number range: no room for margins
    const double margin = spread / 10;
    ValueSpan span{extent->low - margin, extent->high + margin};
    if (span.high - span.low < minimumSpan) {
        const double middle = extent->low + spread / 2;
        span = ValueSpan{middle - minimumSpan / 2, middle + minimumSpan / 2};
    }
    return span;
}

ValueSpan inBand(const ValueSpan& span, int band, int bands)
{
    const double height = span.high - span.low;
    if (!std::isfinite(height))
        return span;
    const ValueSpan stretched{span.low - (bands - 1 - band) * height, span.high + band * height};
    return std::isfinite(stretched.low) && std::isfinite(stretched.high) ? stretched : span;
}

std::optional<double> markerOffset(qint64 timeMs, TimeSpan times, double width)
{
    if (times.toMs <= times.fromMs || timeMs < times.fromMs || timeMs > times.toMs)
        return std::nullopt;
    return width * double(timeMs - times.fromMs) / double(times.toMs - times.fromMs);
}

} // namespace orx
