#pragma once
// What the trend chart draws over its plot, in the plot's own coordinates: a dashed upright line with
// a label for each trip and time-out, and the cursor: an upright line through the tick under the
// pointer, a dot on each trace, and a box with the tick's time and readings beside the line.

#include "trend/trend_buffer.h"
#include "trend/trend_scale.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <vector>

class QPainter;

namespace orx {

void paintMarkers(QPainter& painter, const QRectF& plot, const std::vector<TrendMarker>& markers,
                  TimeSpan times);

struct CursorDrawing
{
    qreal x = 0;
    std::vector<std::pair<QPointF, QColor>> dots;
    QStringList lines;
};

void paintCursor(QPainter& painter, const QRectF& plot, const CursorDrawing& cursor);

} // namespace orx
