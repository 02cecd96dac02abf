#include "trend/trend_buffer.h"

#include <algorithm>

namespace orx {

std::optional<TrendMarkerKind> markerOf(const TickReadings& readings)
{
    if (readings.tripped)
        return TrendMarkerKind::Trip;
    if (readings.answerMissing || !readings.volts || !readings.amperes)
        return TrendMarkerKind::TimeOut;
    return std::nullopt;
}

TrendBuffer::TrendBuffer(qint64 keepMs, qsizetype maxPoints)
    : m_keepMs(keepMs), m_maxPoints(size_t(std::max<qsizetype>(1, maxPoints)))
{}

void TrendBuffer::addTick(qint64 timeMs, const TickReadings& readings, const EnergyTotals& energy)
{
    m_points.push_back(
        TrendPoint{timeMs, readings.volts, readings.amperes, m_run, readings.outputOn, energy});
    if (const auto kind = markerOf(readings))
        m_markers.push_back(TrendMarker{timeMs, *kind});
    if (!readings.outputOn)
        endRun();
    dropOld();
}

void TrendBuffer::endRun()
{
    // Only a run that has points needs closing; a second end adds nothing.
    if (!m_points.empty() && m_points.back().run == m_run)
        ++m_run;
}

void TrendBuffer::dropOld()
{
    const qint64 oldest = m_points.back().timeMs - m_keepMs;
    while (m_points.size() > m_maxPoints || m_points.front().timeMs < oldest)
        m_points.pop_front();
    // A tick leaves at most one marker, so the same rules bound the markers.
    while (!m_markers.empty() && (m_markers.size() > m_maxPoints || m_markers.front().timeMs < oldest))
        m_markers.pop_front();
}

} // namespace orx
