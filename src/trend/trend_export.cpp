#include "trend/trend_export.h"

#include <QBuffer>
#include <QGraphicsView>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>

namespace orx {

QByteArray chartPng(QWidget& chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    chart.grab().save(&buffer, "PNG");
    return bytes;
}

QByteArray chartSvg(QGraphicsView& chart, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(chart.viewport()->size());
    svg.setViewBox(QRect(QPoint(0, 0), chart.viewport()->size()));
    svg.setTitle(title);
    QPainter painter(&svg);
    painter.setRenderHints(chart.renderHints());
    chart.render(&painter);
    painter.end();
    return bytes;
}

} // namespace orx
