#include "trend/trend_chart.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

namespace orx {
namespace {

const QColor kVoltsColor(0x1f, 0x5f, 0xbf);
const QColor kAmperesColor(0xc0, 0x50, 0x00);
const QColor kTripColor(0xd0, 0x00, 0x00);
const QColor kTimeOutColor(0x80, 0x30, 0xa0);
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
      m_amperesAxis(valueAxis(QStringLiteral("Current (A)"), kAmperesColor))
{
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_voltsAxis, Qt::AlignLeft);
    m_chart->addAxis(m_amperesAxis, Qt::AlignRight);
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    setRunCount(1); // the legend always names the two lines
}

TrendChart::Run TrendChart::addRun()
{
    const bool first = m_runs.empty();
    Run run{new QLineSeries, new QLineSeries};
    run.volts->setName(QStringLiteral("Voltage"));
    run.amperes->setName(QStringLiteral("Current"));
    run.volts->setPen(QPen(kVoltsColor, 2));
    run.amperes->setPen(QPen(kAmperesColor, 2));
    for (auto [series, axis] : {std::pair{run.volts, m_voltsAxis}, std::pair{run.amperes, m_amperesAxis}}) {
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(axis);
        // One legend entry per quantity, however many runs are shown.
        if (!first) {
            for (QLegendMarker* marker : m_chart->legend()->markers(series))
                marker->setVisible(false);
        }
    }
    return run;
}

void TrendChart::setRunCount(size_t count)
{
    count = std::max<size_t>(count, 1);
    while (m_runs.size() < count)
        m_runs.push_back(addRun());
    while (m_runs.size() > count) {
        for (QLineSeries* series : {m_runs.back().volts, m_runs.back().amperes}) {
            m_chart->removeSeries(series);
            delete series;
        }
        m_runs.pop_back();
    }
}

void TrendChart::showBuffer(const TrendBuffer& buffer, TimeSpan times, int timeLabels)
{
    std::vector<QList<QPointF>> volts, amperes;
    std::optional<quint64> run;
    for (const TrendPoint& point : buffer.points()) {
        if (point.timeMs < times.fromMs || point.timeMs > times.toMs)
            continue;
        if (point.run != run) {
            run = point.run;
            volts.emplace_back();
            amperes.emplace_back();
        }
        if (point.volts)
            volts.back().append(QPointF(double(point.timeMs), *point.volts));
        if (point.amperes)
            amperes.back().append(QPointF(double(point.timeMs), *point.amperes));
    }
    setRunCount(volts.size());
    for (size_t i = 0; i < m_runs.size(); ++i) {
        m_runs[i].volts->replace(i < volts.size() ? volts[i] : QList<QPointF>());
        m_runs[i].amperes->replace(i < amperes.size() ? amperes[i] : QList<QPointF>());
        // A single point is no line: show it as a dot.
        m_runs[i].volts->setPointsVisible(m_runs[i].volts->count() == 1);
        m_runs[i].amperes->setPointsVisible(m_runs[i].amperes->count() == 1);
    }

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
    viewport()->update();
}

void TrendChart::scaleValues(const TrendBuffer& buffer)
{
    const struct
    {
        QValueAxis* axis;
        TrendQuantity quantity;
        TrendBand band;
    } axes[] = {{m_voltsAxis, TrendQuantity::Volts, TrendBand::Upper},
                {m_amperesAxis, TrendQuantity::Amperes, TrendBand::Lower}};
    for (const auto& a : axes) {
        const ValueSpan span =
            inBand(autoscale(valueExtent(buffer, a.quantity, m_times), kMinimumSpan), a.band);
        a.axis->setRange(span.low, span.high);
        a.axis->applyNiceNumbers();
    }
}

std::vector<QList<QPointF>> TrendChart::voltsLines() const
{
    std::vector<QList<QPointF>> lines;
    for (const Run& run : m_runs)
        lines.push_back(run.volts->points());
    return lines;
}

std::vector<QList<QPointF>> TrendChart::amperesLines() const
{
    std::vector<QList<QPointF>> lines;
    for (const Run& run : m_runs)
        lines.push_back(run.amperes->points());
    return lines;
}

ValueSpan TrendChart::voltsAxis() const
{
    return ValueSpan{m_voltsAxis->min(), m_voltsAxis->max()};
}

ValueSpan TrendChart::amperesAxis() const
{
    return ValueSpan{m_amperesAxis->min(), m_amperesAxis->max()};
}

void TrendChart::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF plot = m_chart->mapRectToScene(m_chart->plotArea());
    painter->save();
    for (const TrendMarker& marker : m_markers) {
        const auto offset = markerOffset(marker.timeMs, m_times, plot.width());
        if (!offset)
            continue;
        const bool trip = marker.kind == TrendMarkerKind::Trip;
        const qreal x = plot.left() + *offset;
        painter->setPen(QPen(trip ? kTripColor : kTimeOutColor, 1.5, Qt::DashLine));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        // The label beside the line, on its left when the right would run over the axis.
        const QString label = trip ? QStringLiteral("Trip") : QStringLiteral("Time-out");
        const qreal width = painter->fontMetrics().horizontalAdvance(label);
        const qreal left = x + 3 + width <= plot.right() ? x + 3 : x - 3 - width;
        painter->drawText(QPointF(left, plot.top() + painter->fontMetrics().ascent() + 2), label);
    }
    painter->restore();
}

} // namespace orx
