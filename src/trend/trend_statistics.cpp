#include "trend/trend_statistics.h"

#include <cmath>

namespace orx {

std::optional<double> readingOf(const TrendPoint& point, TrendQuantity quantity)
{
    switch (quantity) {
    case TrendQuantity::Volts:
        return point.volts;
    case TrendQuantity::Amperes:
        return point.amperes;
    case TrendQuantity::Watts:
        return powerOf(point.volts, point.amperes);
    }
    return std::nullopt;
}

std::optional<Statistics> statisticsOf(const std::deque<TrendPoint>& points, TrendQuantity quantity,
                                       TimeSpan times)
{
    std::optional<Statistics> stats;
    for (const TrendPoint& point : points) {
        const std::optional<double> value = readingOf(point, quantity);
        if (!value || point.timeMs < times.fromMs || point.timeMs > times.toMs)
            continue;
        if (!stats)
            stats = Statistics{*value, *value, 0, 0};
        stats->min = std::min(stats->min, *value);
        stats->max = std::max(stats->max, *value);
        // The mean kept as it goes rather than a sum divided at the end: no sum of large readings
        // can overflow.
        ++stats->count;
        stats->mean += (*value - stats->mean) / double(stats->count);
    }
    return stats;
}

} // namespace orx
