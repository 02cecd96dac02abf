#pragma once
// The trend chart as pictures for a report: a PNG of the chart as the window shows it, at its size,
// and an SVG drawing of it made by the toolkit's SVG generator, with its lines as lines. Both are made
// in memory; the window writes them whole.

#include <QByteArray>
#include <QString>

class QGraphicsView;
class QWidget;

namespace orx {

QByteArray chartPng(QWidget& chart);
QByteArray chartSvg(QGraphicsView& chart, const QString& title);

} // namespace orx
