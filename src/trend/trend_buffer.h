#pragma once
// The trend's memory: one point for every monitoring tick, with the voltage and current that tick read,
// the output's state after it and the charge and energy counted up to it, and a marker for every tick that
// found a trip or missed an answer. Points of one stretch of the output being on form a run; the chart joins
// the points of a run and never draws across the time the output was off. What is older than the longest span
// the window offers drops off, and a hard cap on the count keeps the memory bounded even if the wall clock
// jumps.

#include "panel/monitoring_loop.h"
#include "trend/trend_energy.h"

#include <deque>
#include <optional>

namespace orx {

struct TrendPoint
{
    qint64 timeMs = 0; // wall-clock time of the tick, milliseconds since the epoch
    std::optional<double> volts;
    std::optional<double> amperes;
    quint64 run = 0;
    bool outputOn = true; // after the tick
    EnergyTotals energy;  // the charge and energy counted up to the tick
    bool operator==(const TrendPoint&) const = default;
};

enum class TrendMarkerKind
{
    Trip,
    TimeOut,
};

struct TrendMarker
{
    qint64 timeMs = 0;
    TrendMarkerKind kind = TrendMarkerKind::Trip;
    bool operator==(const TrendMarker&) const = default;
};

// The marker a tick leaves: a trip it found; else a time-out when one of its answers went missing
// (a measurement, or the last answer that stopped the loop); else none.
std::optional<TrendMarkerKind> markerOf(const TickReadings& readings);

class TrendBuffer
{
public:
    TrendBuffer(qint64 keepMs, qsizetype maxPoints);

    // One tick: its point, its marker if any. A tick after which the output is off ends its run.
    void addTick(qint64 timeMs, const TickReadings& readings, const EnergyTotals& energy = {});
    // The output went off between ticks: the next point begins a new run.
    void endRun();

    const std::deque<TrendPoint>& points() const { return m_points; }
    const std::deque<TrendMarker>& markers() const { return m_markers; }

private:
    void dropOld();

    qint64 m_keepMs;
    size_t m_maxPoints;
    std::deque<TrendPoint> m_points;
    std::deque<TrendMarker> m_markers;
    quint64 m_run = 0;
};

} // namespace orx
