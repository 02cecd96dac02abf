#include "help/front_panel_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>
#include <array>

namespace orx {

namespace {

// Segments a (top), b (top right), c (bottom right), d (bottom), e (bottom left), f (top left) and
// g (middle) as bits 0 to 6, for the digits 0 to 9.
constexpr std::array<quint8, 10> kDigitSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                   0x6D, 0x7D, 0x07, 0x7F, 0x6F};

const QColor kVoltsLit(255, 70, 50);
const QColor kAmperesLit(70, 255, 120);
const QColor kLabelInk(45, 50, 58);
const QColor kBrandBlue(27, 79, 138);

QFont panelFont(int pixelSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A point at `radius` from the centre, at `degrees` counter-clockwise from three o'clock.
QPointF polar(QPointF centre, qreal radius, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

QPolygonF horizontalSegment(qreal left, qreal right, qreal y, qreal t)
{
    const qreal h = t / 2;
    return QPolygonF({{left, y},
                      {left + h, y - h},
                      {right - h, y - h},
                      {right, y},
                      {right - h, y + h},
                      {left + h, y + h}});
}

QPolygonF verticalSegment(qreal x, qreal top, qreal bottom, qreal t)
{
    const qreal h = t / 2;
    return QPolygonF({{x, top},
                      {x + h, top + h},
                      {x + h, bottom - h},
                      {x, bottom},
                      {x - h, bottom - h},
                      {x - h, top + h}});
}

// The seven segments of one digit cell, in the bit order of kDigitSegments.
std::array<QPolygonF, 7> digitSegments(const QRectF& cell, qreal t)
{
    const qreal gap = t * 0.3;
    const qreal left = cell.left() + t / 2;
    const qreal right = cell.right() - t / 2;
    const qreal top = cell.top() + t / 2;
    const qreal bottom = cell.bottom() - t / 2;
    const qreal middle = cell.center().y();
    return {horizontalSegment(left + gap, right - gap, top, t),
            verticalSegment(right, top + gap, middle - gap, t),
            verticalSegment(right, middle + gap, bottom - gap, t),
            horizontalSegment(left + gap, right - gap, bottom, t),
            verticalSegment(left, middle + gap, bottom - gap, t),
            verticalSegment(left, top + gap, middle - gap, t),
            horizontalSegment(left + gap, right - gap, middle, t)};
}

// A reading such as "12.00" in slanted seven-segment digits; `baseline` is the bottom left corner of
// the first digit. Unlit segments show faintly, as on a real display.
void paintReadout(QPainter& p, const QString& text, QPointF baseline, QColor lit)
{
    const QSizeF digit(10, 19);
    const qreal pitch = 15;
    const qreal thickness = 2.4;
    const QColor unlit = QColor::fromRgbF(lit.redF() * 0.16, lit.greenF() * 0.16, lit.blueF() * 0.16);
    p.save();
    p.translate(baseline);
    p.shear(-0.1, 0);
    p.setPen(Qt::NoPen);
    qreal x = 0;
    for (const QChar c : text) {
        if (c == u'.') {
            p.setBrush(lit);
            p.drawEllipse(QPointF(x - (pitch - digit.width()) / 2, -thickness / 2), 1.4, 1.4);
            continue;
        }
        const int value = c.digitValue();
        if (value >= 0) {
            const auto segments = digitSegments(QRectF(QPointF(x, -digit.height()), digit), thickness);
            for (int s = 0; s < 7; ++s) {
                p.setBrush((kDigitSegments[value] >> s) & 1 ? lit : unlit);
                p.drawPolygon(segments[s]);
            }
        }
        x += pitch;
    }
    p.restore();
}

void paintText(QPainter& p, const QRectF& box, const QString& text, const QFont& font, QColor ink,
               Qt::Alignment alignment = Qt::AlignCenter)
{
    p.setFont(font);
    p.setPen(ink);
    p.drawText(box, alignment, text);
}

void paintCase(QPainter& p)
{
    QLinearGradient shell(0, 0, 0, kFrontPanelHeight);
    shell.setColorAt(0, QColor(86, 92, 100));
    shell.setColorAt(1, QColor(40, 44, 50));
    p.setPen(QPen(QColor(25, 28, 32), 1));
    p.setBrush(shell);
    p.drawRoundedRect(QRectF(0.5, 0.5, kFrontPanelWidth - 1, kFrontPanelHeight - 1), 8, 8);

    QLinearGradient face(0, 6, 0, 124);
    face.setColorAt(0, QColor(232, 234, 237));
    face.setColorAt(1, QColor(192, 197, 203));
    p.setPen(QPen(QColor(130, 136, 144), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(5.5, 5.5, 189, 118), 4, 4);
}

void paintBrand(QPainter& p)
{
    paintText(p, QRectF(12, 7, 32, 14), QStringLiteral("ORX"), panelFont(13, true), kBrandBlue,
              Qt::AlignLeft | Qt::AlignVCenter);
    paintText(p, QRectF(46, 8, 80, 13), QStringLiteral("DC POWER SUPPLY"), panelFont(7), kLabelInk,
              Qt::AlignLeft | Qt::AlignVCenter);
}

void paintDisplays(QPainter& p)
{
    QLinearGradient glass(0, 22, 0, 78);
    glass.setColorAt(0, QColor(28, 31, 35));
    glass.setColorAt(1, QColor(10, 11, 13));
    p.setPen(QPen(QColor(88, 94, 102), 1.5));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(11.5, 22.5, 93, 55), 2, 2);

    paintReadout(p, QStringLiteral("12.00"), QPointF(19, 46), kVoltsLit);
    paintText(p, QRectF(82, 33, 16, 14), QStringLiteral("V"), panelFont(12, true), kVoltsLit);
    paintReadout(p, QStringLiteral("1.500"), QPointF(19, 72), kAmperesLit);
    paintText(p, QRectF(82, 59, 16, 14), QStringLiteral("A"), panelFont(12, true), kAmperesLit);
}

void paintKnob(QPainter& p, QPointF centre, qreal radius, qreal pointerDegrees, const QString& label)
{
    p.setPen(QPen(QColor(80, 86, 94), 0.8));
    for (int i = 0; i <= 10; ++i) {
        const qreal a = 225 - i * 27;
        p.drawLine(polar(centre, radius + 1.5, a), polar(centre, radius + 3.5, a));
    }
    QRadialGradient skirt(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.6);
    skirt.setColorAt(0, QColor(96, 102, 110));
    skirt.setColorAt(1, QColor(22, 24, 27));
    p.setPen(QPen(QColor(18, 20, 23), 0.8));
    p.setBrush(skirt);
    p.drawEllipse(centre, radius, radius);

    QLinearGradient cap(centre - QPointF(0, radius), centre + QPointF(0, radius));
    cap.setColorAt(0, QColor(120, 126, 134));
    cap.setColorAt(1, QColor(44, 48, 54));
    p.setPen(Qt::NoPen);
    p.setBrush(cap);
    p.drawEllipse(centre, radius * 0.7, radius * 0.7);

    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(centre, radius * 0.2, pointerDegrees), polar(centre, radius * 0.62, pointerDegrees));

    paintText(p, QRectF(centre.x() - 20, centre.y() + radius + 4, 40, 8), label, panelFont(7), kLabelInk);
}

void paintLed(QPainter& p, QPointF centre, QColor colour, bool lit, const QString& label)
{
    const QColor body = lit ? colour : colour.darker(330);
    QRadialGradient glow(centre - QPointF(0.8, 0.8), 3.5);
    glow.setColorAt(0, lit ? QColor(255, 255, 255) : body.lighter(140));
    glow.setColorAt(0.45, body);
    glow.setColorAt(1, body.darker(140));
    p.setPen(QPen(QColor(60, 64, 70), 0.7));
    p.setBrush(glow);
    p.drawEllipse(centre, 3, 3);
    paintText(p, QRectF(centre.x() - 10, centre.y() + 5, 20, 8), label, panelFont(7), kLabelInk);
}

void paintPowerSwitch(QPainter& p)
{
    paintText(p, QRectF(8, 85, 34, 8), QStringLiteral("POWER"), panelFont(7), kLabelInk);
    p.setPen(QPen(QColor(20, 22, 25), 0.8));
    p.setBrush(QColor(28, 30, 33));
    p.drawRoundedRect(QRectF(14, 95, 22, 21), 2, 2);
    QLinearGradient rocker(0, 97, 0, 114);
    rocker.setColorAt(0, QColor(88, 92, 98));
    rocker.setColorAt(0.5, QColor(56, 60, 66));
    rocker.setColorAt(1, QColor(36, 38, 42));
    p.setBrush(rocker);
    p.drawRoundedRect(QRectF(16, 97, 18, 17), 1.5, 1.5);
    p.setPen(QPen(QColor(235, 235, 235), 1.2));
    p.drawLine(QPointF(25, 99.5), QPointF(25, 104));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(25, 109.5), 2.2, 2.2);
}

void paintOutputButton(QPainter& p)
{
    paintText(p, QRectF(76, 85, 34, 8), QStringLiteral("OUTPUT"), panelFont(7), kLabelInk);
    QLinearGradient cap(0, 96, 0, 110);
    cap.setColorAt(0, QColor(246, 247, 248));
    cap.setColorAt(1, QColor(168, 174, 181));
    p.setPen(QPen(QColor(110, 116, 124), 0.8));
    p.setBrush(cap);
    p.drawRoundedRect(QRectF(82, 96, 22, 13), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kAmperesLit);
    p.drawRoundedRect(QRectF(86, 99, 14, 2.5), 1, 1);
}

void paintTerminal(QPainter& p, QPointF centre, QColor colour)
{
    QRadialGradient nut(centre - QPointF(2.5, 2.5), 10);
    nut.setColorAt(0, colour.lighter(170));
    nut.setColorAt(0.5, colour);
    nut.setColorAt(1, colour.darker(170));
    p.setPen(QPen(colour.darker(250), 0.8));
    p.setBrush(nut);
    p.drawEllipse(centre, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 140, 90));
    p.drawEllipse(centre, 3, 3);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(centre, 1.6, 1.6);
}

void paintGroundSymbol(QPainter& p, QPointF top)
{
    p.setPen(QPen(kLabelInk, 1));
    p.drawLine(top, top + QPointF(0, 3));
    p.drawLine(top + QPointF(-3.5, 3), top + QPointF(3.5, 3));
    p.drawLine(top + QPointF(-2.2, 5), top + QPointF(2.2, 5));
    p.drawLine(top + QPointF(-1, 7), top + QPointF(1, 7));
}

void paintTerminals(QPainter& p)
{
    const QFont sign = panelFont(11, true);
    paintText(p, QRectF(127, 84, 12, 11), QStringLiteral("+"), sign, QColor(190, 30, 30));
    paintText(p, QRectF(147, 84, 12, 11), QString(QChar(0x2212)), sign, kLabelInk);
    paintGroundSymbol(p, QPointF(173, 86));
    paintTerminal(p, QPointF(133, 104), QColor(205, 35, 35));
    paintTerminal(p, QPointF(153, 104), QColor(45, 45, 48));
    paintTerminal(p, QPointF(173, 104), QColor(30, 150, 60));
}

} // namespace

void paintFrontPanel(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintCase(painter);
    paintBrand(painter);
    paintDisplays(painter);
    paintKnob(painter, QPointF(135, 44), 12, 160, QStringLiteral("VOLTAGE"));
    paintKnob(painter, QPointF(172, 44), 12, 60, QStringLiteral("CURRENT"));
    paintLed(painter, QPointF(52, 101), QColor(60, 220, 90), true, QStringLiteral("CV"));
    paintLed(painter, QPointF(66, 101), QColor(235, 60, 40), false, QStringLiteral("CC"));
    paintPowerSwitch(painter);
    paintOutputButton(painter);
    paintTerminals(painter);
    painter.restore();
}

QImage frontPanelPicture()
{
    QImage image(kFrontPanelWidth, kFrontPanelHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintFrontPanel(painter);
    return image;
}

} // namespace orx
