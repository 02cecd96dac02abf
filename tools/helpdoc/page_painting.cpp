#include "page_painting.h"

#include "help/front_panel_picture.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orx::helpdoc {

namespace {

QFont contentsFont(int level)
{
    return level <= 2 ? textFont(10.5, true) : textFont(10);
}

} // namespace

PagePainter::PagePainter(QPaintDevice& device, const PageUnits& units, QSizeF body)
    : m_device(device), m_units(units), m_body(body)
{}

void PagePainter::paintTitlePage(QPainter& painter, const QString& title, const QString& subtitle) const
{
    const qreal width = m_body.width();
    painter.fillRect(QRectF(0, 0, width, m_units.mm(2.5)), kAccent);

    painter.setFont(textFont(30, true));
    painter.setPen(kAccent);
    painter.drawText(QRectF(0, m_units.mm(30), width, m_units.mm(22)), Qt::AlignCenter, title);

    painter.setFont(textFont(12.5));
    painter.setPen(kInk);
    painter.drawText(QRectF(m_units.mm(10), m_units.mm(55), width - m_units.mm(20), m_units.mm(24)),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, subtitle);

    // The front panel, drawn as vectors at 140 mm wide.
    const qreal scale = m_units.mm(140) / kFrontPanelWidth;
    painter.save();
    painter.translate((width - kFrontPanelWidth * scale) / 2, m_units.mm(95));
    painter.scale(scale, scale);
    paintFrontPanel(painter);
    painter.restore();

    painter.fillRect(QRectF(0, m_body.height() - m_units.mm(2.5), width, m_units.mm(2.5)), kAccent);
}

qreal PagePainter::lineHeight(int level) const
{
    const qreal text = QFontMetricsF(contentsFont(level), &m_device).height();
    return text + m_units.mm(level <= 2 ? 3.2 : 1.4);
}

qreal PagePainter::contentsHeadingHeight() const
{
    return m_units.mm(22);
}

QList<QList<ContentsLine>> PagePainter::layoutContents(const QList<Heading>& headings) const
{
    QList<QList<ContentsLine>> pages(1);
    qreal y = contentsHeadingHeight();
    for (const Heading& heading : headings) {
        const qreal height = lineHeight(heading.level);
        if (y + height > m_body.height() && !pages.last().isEmpty()) {
            pages.emplaceBack();
            y = 0;
        }
        pages.last().append({heading, y});
        y += height;
    }
    return pages;
}

void PagePainter::paintContentsPage(QPainter& painter, const QList<ContentsLine>& lines, bool first) const
{
    if (first) {
        painter.setFont(textFont(16, true));
        painter.setPen(kAccent);
        painter.drawText(QRectF(0, 0, m_body.width(), m_units.mm(12)), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Contents"));
        painter.setPen(QPen(kRule, m_units.pt(0.6)));
        painter.drawLine(QPointF(0, m_units.mm(13)), QPointF(m_body.width(), m_units.mm(13)));
    }
    for (const ContentsLine& line : lines) {
        const QFont font = contentsFont(line.heading.level);
        const QFontMetricsF metrics(font, &m_device);
        const qreal indent = line.heading.level <= 2 ? 0 : m_units.mm(7);
        const qreal baseline =
            line.top + lineHeight(line.heading.level) - m_units.mm(1.2) - metrics.descent();
        const QString number = QString::number(line.heading.page);
        const qreal numberLeft = m_body.width() - metrics.horizontalAdvance(number);
        const qreal textRight = indent + metrics.horizontalAdvance(line.heading.text);

        painter.setFont(font);
        painter.setPen(line.heading.level <= 2 ? kInk : kMuted.darker(130));
        painter.drawText(QPointF(indent, baseline), line.heading.text);
        painter.drawText(QPointF(numberLeft, baseline), number);

        // Dot leaders between the heading and its page number, on one grid for all lines.
        const QFont leaderFont = contentsFont(3);
        const qreal dot = QFontMetricsF(leaderFont, &m_device).horizontalAdvance(QStringLiteral(". "));
        const qreal firstDot = std::ceil((textRight + m_units.mm(1.5)) / dot) * dot;
        const int dots = int((numberLeft - m_units.mm(1.5) - firstDot) / dot);
        if (dots > 0) {
            painter.setFont(leaderFont);
            painter.setPen(kRule);
            painter.drawText(QPointF(firstDot, baseline), QStringLiteral(". ").repeated(dots));
        }
    }
}

void PagePainter::paintFooter(QPainter& painter, const QString& title, int page, int pageCount) const
{
    const qreal ruleY = m_body.height() + m_units.mm(4);
    painter.setPen(QPen(kRule, m_units.pt(0.6)));
    painter.drawLine(QPointF(0, ruleY), QPointF(m_body.width(), ruleY));

    const QRectF text(0, ruleY + m_units.mm(1), m_body.width(), m_units.mm(6));
    painter.setFont(textFont(8.5));
    painter.setPen(kMuted);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Page %1 of %2").arg(page).arg(pageCount));
}

} // namespace orx::helpdoc
