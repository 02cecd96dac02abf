#pragma once
// The chart's cursor: the moment under the pointer, the tick nearest to it among those in view, and
// the lines of text that tell that tick's time and readings.

#include "trend/trend_scale.h"

#include <QStringList>

namespace orx {

// The moment at `offset` from the left edge of a plot `width` wide that shows `times` (the inverse of
// markerOffset); nothing when the offset lies outside the plot.
std::optional<qint64> timeAtOffset(double offset, TimeSpan times, double width);

// The index of the point within `times` nearest to `timeMs`, the earlier of two as near; nothing when
// no point lies within `times`.
std::optional<size_t> nearestPoint(const std::deque<TrendPoint>& points, qint64 timeMs, TimeSpan times);

// The cursor's text: the tick's local time of day to the millisecond, then its voltage and current as
// the monitor displays showed them and, when asked for, its power.
QStringList cursorReadout(const TrendPoint& point, bool withPower);

} // namespace orx
