#pragma once
// The minimum, maximum and mean of a quantity over the ticks within a stretch of time: what the trend
// window shows for the span in view. Each tick that read the quantity counts once; the power of a tick
// is its voltage times its current.

#include "trend/trend_scale.h"

namespace orx {

struct Statistics
{
    double min = 0;
    double max = 0;
    double mean = 0;
    qsizetype count = 0; // ticks that read the quantity
    bool operator==(const Statistics&) const = default;
};

// The quantity one tick read; nothing when its answer went missing (or the power does not fit a
// double).
std::optional<double> readingOf(const TrendPoint& point, TrendQuantity quantity);

// Over the points within `times`; nothing when none of them read the quantity.
std::optional<Statistics> statisticsOf(const std::deque<TrendPoint>& points, TrendQuantity quantity,
                                       TimeSpan times);

} // namespace orx
