#pragma once
// How the trend chart frames its points: which stretch of time it shows, the span of each value axis
// for the values in that stretch, and where a marker's time falls across the plot.

#include "trend/trend_buffer.h"

#include <QString>
#include <array>

namespace orx {

struct TrendSpanChoice
{
    int minutes;
    const char* caption;
    int timeLabels; // labels on the time axis, so that they are a round time apart
};

// The spans the window offers, shortest first; the points older than the longest drop off.
inline constexpr std::array<TrendSpanChoice, 3> kTrendSpans{
    {{1, "Last minute", 7}, {10, "Last 10 minutes", 11}, {60, "Last hour", 7}}};
inline constexpr int kDefaultTrendSpan = 1; // index into kTrendSpans: ten minutes
inline constexpr qint64 kTrendKeepMs = qint64(kTrendSpans.back().minutes) * 60'000;
// A tick takes at least the monitoring timer's second; twice that many points is room to spare.
inline constexpr qsizetype kTrendMaxPoints = 2 * kTrendKeepMs / 1000;

struct TimeSpan
{
    qint64 fromMs = 0;
    qint64 toMs = 0;
    bool operator==(const TimeSpan&) const = default;
};

// The stretch of `spanMs` that ends at the newest point, or at `nowMs` while there is none; or, when
// the view was scrolled back, at `endMs`, held within the ends the view may scroll between.
TimeSpan shownTimes(const TrendBuffer& buffer, qint64 spanMs, qint64 nowMs,
                    std::optional<qint64> endMs = std::nullopt);

// The ends the view may scroll between: from one span after the oldest point (or the newest point,
// when they lie closer together) to the newest point.
TimeSpan scrollEnds(const TrendBuffer& buffer, qint64 spanMs, qint64 nowMs);

struct ValueSpan
{
    double low = 0;
    double high = 1;
    bool operator==(const ValueSpan&) const = default;
};

enum class TrendQuantity
{
    Volts,
    Amperes,
    Watts, // the power V·I of a tick that read both
};

// The lowest and highest reading of a quantity among the points within `times`; nothing when there
// is none.
std::optional<ValueSpan> valueExtent(const TrendBuffer& buffer, TrendQuantity quantity, TimeSpan times);

// The span of a value axis for an extent: a tenth of the spread added on either side, and at least
// `minimumSpan` wide around its middle, so that a steady reading is a level line in the middle rather
// than noise blown up to the full height. 0 .. 1 without values.
ValueSpan autoscale(const std::optional<ValueSpan>& extent, double minimumSpan);

// The quantities share the plot's height in bands, the first at the top: the voltage in the upper
// half and the current in the lower half, or thirds when the power is shown too, so that two steady
// readings never lie on top of each other. The span of an axis is its values' span stretched so that
// they fill band `band` of `bands`.
ValueSpan inBand(const ValueSpan& span, int band, int bands);

// Where a moment falls across a plot `width` wide that shows `times`, from its left edge; nothing when
// it lies outside.
std::optional<double> markerOffset(qint64 timeMs, TimeSpan times, double width);

} // namespace orx
