#include "trend/trend_scale.h"

#include <algorithm>
#include <cmath>

namespace orx {

TimeSpan shownTimes(const TrendBuffer& buffer, qint64 spanMs, qint64 nowMs)
{
    const qint64 end = buffer.points().empty() ? nowMs : buffer.points().back().timeMs;
    return TimeSpan{end - spanMs, end};
}

std::optional<ValueSpan> valueExtent(const TrendBuffer& buffer, TrendQuantity quantity, TimeSpan times)
{
    std::optional<ValueSpan> extent;
    for (const TrendPoint& point : buffer.points()) {
        const std::optional<double>& value = quantity == TrendQuantity::Volts ? point.volts : point.amperes;
        if (!value || point.timeMs < times.fromMs || point.timeMs > times.toMs)
            continue;
        if (!extent)
            extent = ValueSpan{*value, *value};
        extent->low = std::min(extent->low, *value);
        extent->high = std::max(extent->high, *value);
    }
    return extent;
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

ValueSpan inBand(const ValueSpan& span, TrendBand band)
{
    const double height = span.high - span.low;
    if (!std::isfinite(height))
        return span;
    return band == TrendBand::Upper ? ValueSpan{span.low - height, span.high}
                                    : ValueSpan{span.low, span.high + height};
}

std::optional<double> markerOffset(qint64 timeMs, TimeSpan times, double width)
{
    if (times.toMs <= times.fromMs || timeMs < times.fromMs || timeMs > times.toMs)
        return std::nullopt;
    return width * double(timeMs - times.fromMs) / double(times.toMs - times.fromMs);
}

} // namespace orx
