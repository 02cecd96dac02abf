#include "trend/trend_chart_overlay.h"

#include <QPainter>

namespace orx {
namespace {

const QColor kTripColor(0xd0, 0x00, 0x00);
const QColor kTimeOutColor(0x80, 0x30, 0xa0);
const QColor kCursorColor(0x40, 0x40, 0x40);

// The left edge of something `width` wide beside an upright line at `x`: on its right, or on its left
// when the right would run over the plot's edge.
qreal besideLine(qreal x, qreal width, const QRectF& plot)
{
    return x + 4 + width <= plot.right() ? x + 4 : x - 4 - width;
}

} // namespace

void paintMarkers(QPainter& painter, const QRectF& plot, const std::vector<TrendMarker>& markers,
                  TimeSpan times)
{
    for (const TrendMarker& marker : markers) {
        const auto offset = markerOffset(marker.timeMs, times, plot.width());
        if (!offset)
            continue;
        const bool trip = marker.kind == TrendMarkerKind::Trip;
        const qreal x = plot.left() + *offset;
        painter.setPen(QPen(trip ? kTripColor : kTimeOutColor, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const QString label = trip ? QStringLiteral("Trip") : QStringLiteral("Time-out");
        const qreal left = besideLine(x, painter.fontMetrics().horizontalAdvance(label), plot);
        painter.drawText(QPointF(left, plot.top() + painter.fontMetrics().ascent() + 2), label);
    }
}

void paintCursor(QPainter& painter, const QRectF& plot, const CursorDrawing& cursor)
{
    painter.setPen(QPen(kCursorColor, 1));
    painter.drawLine(QPointF(cursor.x, plot.top()), QPointF(cursor.x, plot.bottom()));
    for (const auto& [at, color] : cursor.dots) {
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(color);
        painter.drawEllipse(at, 4, 4);
    }

    const QFontMetricsF metrics(painter.font());
    qreal width = 0;
    for (const QString& line : cursor.lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const qreal pad = 5, lineHeight = metrics.height();
    const QRectF box(besideLine(cursor.x, width + 2 * pad, plot), plot.top() + lineHeight + 6,
                     width + 2 * pad, lineHeight * qreal(cursor.lines.size()) + 2 * pad);
    painter.setPen(QPen(kCursorColor, 1));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(box, 3, 3);
    for (qsizetype i = 0; i < cursor.lines.size(); ++i)
        painter.drawText(
            QPointF(box.left() + pad, box.top() + pad + metrics.ascent() + lineHeight * qreal(i)),
            cursor.lines[i]);
}

} // namespace orx
