#pragma once
// The trend's chart: voltage on the left axis, current on the right, against the time of day. Each
// run of points (one stretch of the output being on) is a line of its own, so no line crosses the
// time the output was off; a dashed upright line with a label marks each trip and time-out.

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
    void showBuffer(const TrendBuffer& buffer, TimeSpan times, int timeLabels);

    // What is drawn: the points of each line, the markers, the axes' spans.
    std::vector<QList<QPointF>> voltsLines() const;
    std::vector<QList<QPointF>> amperesLines() const;
    const std::vector<TrendMarker>& markersShown() const { return m_markers; }
    ValueSpan voltsAxis() const;
    ValueSpan amperesAxis() const;
    TimeSpan timeAxis() const { return m_times; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    struct Run
    {
        QLineSeries* volts = nullptr;
        QLineSeries* amperes = nullptr;
    };

    void setRunCount(size_t count);
    Run addRun();
    void scaleValues(const TrendBuffer& buffer);

    QChart* m_chart;
    QDateTimeAxis* m_timeAxis;
    QValueAxis* m_voltsAxis;
    QValueAxis* m_amperesAxis;
    std::vector<Run> m_runs;
    std::vector<TrendMarker> m_markers;
    TimeSpan m_times;
};

} // namespace orx
