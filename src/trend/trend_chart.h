#pragma once
// The trend's chart: voltage on the left axis, current (and, when asked for, power) on the right,
// against the time of day. Each run of points (one stretch of the output being on) is a line of its
// own, so no line crosses the time the output was off; a dashed upright line with a label marks each
// trip and time-out. Hovering the plot shows a cursor on the tick nearest to the pointer, with its
// time and readings.

#include "trend/trend_scale.h"

#include <QChartView>
#include <vector>

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace orx {

class TrendChart : public QChartView
{
public:
    explicit TrendChart(QWidget* parent = nullptr);

    // Shows the points and markers of the buffer that lie within `times`, with so many time labels.
    // The buffer must outlive the chart or the next call: the cursor looks its points up.
    void showBuffer(const TrendBuffer& buffer, TimeSpan times, int timeLabels);
    // The power trace and its axis, shown from the next showBuffer.
    void setPowerShown(bool shown) { m_powerShown = shown; }
    bool powerShown() const { return m_powerShown; }

    // What is drawn: the points of each line, the markers, the axes' spans, the cursor's tick.
    std::vector<QList<QPointF>> voltsLines() const;
    std::vector<QList<QPointF>> amperesLines() const;
    std::vector<QList<QPointF>> wattsLines() const;
    const std::vector<TrendMarker>& markersShown() const { return m_markers; }
    ValueSpan voltsAxis() const;
    ValueSpan amperesAxis() const;
    TimeSpan timeAxis() const { return m_times; }
    const std::optional<TrendPoint>& cursorPoint() const { return m_cursor; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Run
    {
        QLineSeries* volts = nullptr;
        QLineSeries* amperes = nullptr;
        QLineSeries* watts = nullptr;
    };

    void setRunCount(size_t count);
    Run addRun();
    void scaleValues(const TrendBuffer& buffer);
    void findCursor();
    std::vector<QList<QPointF>> linesOf(QLineSeries* Run::*series) const;

    QChart* m_chart;
    QDateTimeAxis* m_timeAxis;
    QValueAxis* m_voltsAxis;
    QValueAxis* m_amperesAxis;
    QValueAxis* m_wattsAxis;
    std::vector<Run> m_runs;
    std::vector<TrendMarker> m_markers;
    TimeSpan m_times;
    bool m_powerShown = false;
    const TrendBuffer* m_buffer = nullptr;
    std::optional<QPointF> m_pointer; // in the viewport, while it hovers the chart
    std::optional<TrendPoint> m_cursor;
};

} // namespace orx
