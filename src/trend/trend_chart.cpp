#include "trend/trend_chart.h"

#include "trend/trend_chart_overlay.h"
#include "trend/trend_cursor.h"
#include "trend/trend_statistics.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>

namespace orx {
namespace {

const QColor kVoltsColor(0x1f, 0x5f, 0xbf);
const QColor kAmperesColor(0xc0, 0x50, 0x00);
const QColor kWattsColor(0x2a, 0x8a, 0x3a);
// The smallest span of a value axis: ten steps of the displays' last digit.
constexpr double kMinimumSpan = 0.01;

QValueAxis* valueAxis(const QString& title, const QColor& color)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.3f"));
    axis->setLabelsColor(color);
    axis->setTitleBrush(color);
    return axis;
}

} // namespace

TrendChart::TrendChart(QWidget* parent)
    // Built with its chart: a chart set later loses its time axis's labels and grid.
    : QChartView(new QChart, parent), m_chart(chart()), m_timeAxis(new QDateTimeAxis),
      m_voltsAxis(valueAxis(QStringLiteral("Voltage (V)"), kVoltsColor)),
      m_amperesAxis(valueAxis(QStringLiteral("Current (A)"), kAmperesColor)),
      m_wattsAxis(valueAxis(QStringLiteral("Power (W)"), kWattsColor))
{
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_voltsAxis, Qt::AlignLeft);
    m_chart->addAxis(m_amperesAxis, Qt::AlignRight);
    m_chart->addAxis(m_wattsAxis, Qt::AlignRight);
    m_wattsAxis->setVisible(false);
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setRunCount(1); // the legend always names the lines
}

TrendChart::Run TrendChart::addRun()
{
    const bool first = m_runs.empty();
    Run run{new QLineSeries, new QLineSeries, new QLineSeries};
    const struct
    {
        QLineSeries* series;
        QValueAxis* axis;
        const char* name;
        QColor color;
    } traces[] = {{run.volts, m_voltsAxis, "Voltage", kVoltsColor},
                  {run.amperes, m_amperesAxis, "Current", kAmperesColor},
                  {run.watts, m_wattsAxis, "Power", kWattsColor}};
    for (const auto& t : traces) {
        t.series->setName(QLatin1String(t.name));
        t.series->setPen(QPen(t.color, 2));
        m_chart->addSeries(t.series);
        t.series->attachAxis(m_timeAxis);
        t.series->attachAxis(t.axis);
        // One legend entry per quantity, however many runs are shown.
        if (!first) {
            for (QLegendMarker* marker : m_chart->legend()->markers(t.series))
                marker->setVisible(false);
        }
    }
    run.watts->setVisible(m_powerShown);
    return run;
}

void TrendChart::setRunCount(size_t count)
{
    count = std::max<size_t>(count, 1);
    while (m_runs.size() < count)
        m_runs.push_back(addRun());
    while (m_runs.size() > count) {
        for (QLineSeries* series : {m_runs.back().volts, m_runs.back().amperes, m_runs.back().watts}) {
            m_chart->removeSeries(series);
            delete series;
        }
        m_runs.pop_back();
    }
}

void TrendChart::showBuffer(const TrendBuffer& buffer, TimeSpan times, int timeLabels)
{
    const std::pair<QLineSeries * Run::*, TrendQuantity> traces[] = {{&Run::volts, TrendQuantity::Volts},
                                                                     {&Run::amperes, TrendQuantity::Amperes},
                                                                     {&Run::watts, TrendQuantity::Watts}};
    std::vector<std::array<QList<QPointF>, 3>> lines;
    std::optional<quint64> run;
    for (const TrendPoint& point : buffer.points()) {
        if (point.timeMs < times.fromMs || point.timeMs > times.toMs)
            continue;
        if (point.run != run) {
            run = point.run;
            lines.emplace_back();
        }
        for (size_t q = 0; q < (m_powerShown ? 3u : 2u); ++q) {
            if (const auto value = readingOf(point, traces[q].second))
                lines.back()[q].append(QPointF(double(point.timeMs), *value));
        }
    }
    setRunCount(lines.size());
    for (size_t i = 0; i < m_runs.size(); ++i) {
        for (size_t q = 0; q < 3; ++q) {
            QLineSeries* series = m_runs[i].*traces[q].first;
            series->replace(i < lines.size() ? lines[i][q] : QList<QPointF>());
            // A single point is no line: show it as a dot.
            series->setPointsVisible(series->count() == 1);
        }
        m_runs[i].watts->setVisible(m_powerShown);
    }
    m_wattsAxis->setVisible(m_powerShown);

    m_buffer = &buffer;
    m_times = times;
    m_timeAxis->setTickCount(timeLabels);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(times.fromMs),
                         QDateTime::fromMSecsSinceEpoch(times.toMs));
    scaleValues(buffer);
    m_markers.clear();
    for (const TrendMarker& marker : buffer.markers()) {
        if (markerOffset(marker.timeMs, times, 1.0))
            m_markers.push_back(marker);
    }
    findCursor();
    viewport()->update();
}

void TrendChart::scaleValues(const TrendBuffer& buffer)
{
    const int bands = m_powerShown ? 3 : 2;
    const std::pair<QValueAxis*, TrendQuantity> axes[] = {{m_voltsAxis, TrendQuantity::Volts},
                                                          {m_amperesAxis, TrendQuantity::Amperes},
                                                          {m_wattsAxis, TrendQuantity::Watts}};
    for (int band = 0; band < bands; ++band) {
        const auto [axis, quantity] = axes[band];
        const ValueSpan span =
            inBand(autoscale(valueExtent(buffer, quantity, m_times), kMinimumSpan), band, bands);
        axis->setRange(span.low, span.high);
        axis->applyNiceNumbers();
    }
}

std::vector<QList<QPointF>> TrendChart::linesOf(QLineSeries* Run::*series) const
{
    std::vector<QList<QPointF>> lines;
    for (const Run& run : m_runs)
        lines.push_back((run.*series)->points());
    return lines;
}

std::vector<QList<QPointF>> TrendChart::voltsLines() const
{
    return linesOf(&Run::volts);
}

std::vector<QList<QPointF>> TrendChart::amperesLines() const
{
    return linesOf(&Run::amperes);
}

std::vector<QList<QPointF>> TrendChart::wattsLines() const
{
    return linesOf(&Run::watts);
}

ValueSpan TrendChart::voltsAxis() const
{
    return ValueSpan{m_voltsAxis->min(), m_voltsAxis->max()};
}

ValueSpan TrendChart::amperesAxis() const
{
    return ValueSpan{m_amperesAxis->min(), m_amperesAxis->max()};
}

void TrendChart::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    m_pointer = event->position();
    findCursor();
    viewport()->update();
}

void TrendChart::leaveEvent(QEvent* event)
{
    QChartView::leaveEvent(event);
    m_pointer.reset();
    m_cursor.reset();
    viewport()->update();
}

// The tick nearest to the moment under the pointer, while the pointer is over the plot.
void TrendChart::findCursor()
{
    m_cursor.reset();
    if (!m_pointer || !m_buffer)
        return;
    const QRectF plot = m_chart->mapRectToScene(m_chart->plotArea());
    const QPointF at = mapToScene(m_pointer->toPoint());
    if (at.y() < plot.top() || at.y() > plot.bottom())
        return;
    const auto time = timeAtOffset(at.x() - plot.left(), m_times, plot.width());
    if (!time)
        return;
    if (const auto index = nearestPoint(m_buffer->points(), *time, m_times))
        m_cursor = m_buffer->points()[*index];
}

void TrendChart::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF plot = m_chart->mapRectToScene(m_chart->plotArea());
    painter->save();
    paintMarkers(*painter, plot, m_markers, m_times);
    if (m_cursor) {
        CursorDrawing cursor{plot.left() + markerOffset(m_cursor->timeMs, m_times, plot.width()).value_or(0),
                             {},
                             cursorReadout(*m_cursor, m_powerShown)};
        const std::tuple<QLineSeries*, TrendQuantity, QColor> traces[] = {
            {m_runs.front().volts, TrendQuantity::Volts, kVoltsColor},
            {m_runs.front().amperes, TrendQuantity::Amperes, kAmperesColor},
            {m_runs.front().watts, TrendQuantity::Watts, kWattsColor}};
        for (const auto& [series, quantity, color] : traces) {
            const auto value = readingOf(*m_cursor, quantity);
            if (value && series->isVisible()) {
                const QPointF at = m_chart->mapToPosition(QPointF(double(m_cursor->timeMs), *value), series);
                cursor.dots.emplace_back(m_chart->mapToScene(at), color);
            }
        }
        paintCursor(*painter, plot, cursor);
    }
    painter->restore();
}

} // namespace orx
