#pragma once
// The parts of the help document that are painted directly rather than laid out from the guide: the
// title page, the contents pages and the footer of every page after the title.

#include "guide_style.h"

#include <QList>
#include <QSizeF>

class QPainter;
class QPaintDevice;

namespace orx::helpdoc {

// One line of the contents, placed on a contents page.
struct ContentsLine
{
    Heading heading;
    qreal top; // from the top of its contents page
};

class PagePainter
{
public:
    // `body` is the area of a page above the footer, in device pixels of `device`.
    PagePainter(QPaintDevice& device, const PageUnits& units, QSizeF body);

    void paintTitlePage(QPainter& painter, const QString& title, const QString& subtitle) const;

    // The contents lines split into pages; each heading's page is already the printed page number.
    QList<QList<ContentsLine>> layoutContents(const QList<Heading>& headings) const;
    void paintContentsPage(QPainter& painter, const QList<ContentsLine>& lines, bool first) const;

    void paintFooter(QPainter& painter, const QString& title, int page, int pageCount) const;

private:
    qreal lineHeight(int level) const;
    qreal contentsHeadingHeight() const;

    QPaintDevice& m_device;
    PageUnits m_units;
    QSizeF m_body;
};

} // namespace orx::helpdoc
