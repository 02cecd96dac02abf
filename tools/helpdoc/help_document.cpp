#include "help_document.h"

#include "guide_style.h"
#include "page_painting.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>

namespace orx::helpdoc {

namespace {

constexpr int kDotsPerInch = 300;
// The text layout takes the lengths of formats (margins, indents, padding, borders) in pixels of a
// 96 dpi screen and scales them to the device itself.
constexpr int kFormatDotsPerInch = 96;
constexpr qreal kFooterMm = 12;
constexpr qreal kKeepWithHeadingMm = 22; // about three lines of text below a heading

QPageLayout a4Layout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 12),
                       QPageLayout::Millimeter);
}

// Lays the body out in pages of `body` size on the writer's metrics.
void layOutBody(QTextDocument& doc, const QString& body, QPdfWriter& writer, QSizeF bodySize,
                const PageUnits& units)
{
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(textFont(10));
    doc.setMarkdown(body, QTextDocument::MarkdownDialectGitHub);
    styleGuide(doc, PageUnits(kFormatDotsPerInch));
    doc.setPageSize(bodySize);
    keepTogether(doc, bodySize.height(), units.mm(kKeepWithHeadingMm));
}

void paintBodyPage(QPainter& painter, QTextDocument& doc, QSizeF bodySize, int page)
{
    const qreal top = page * bodySize.height();
    painter.save();
    painter.translate(0, -top);
    doc.drawContents(&painter, QRectF(QPointF(0, top), bodySize));
    painter.restore();
}

} // namespace

bool splitGuide(const QString& markdown, GuideParts& parts, QString& error)
{
    static const QRegularExpression titleLine(QStringLiteral("^# +(.+?)\\s*$"),
                                              QRegularExpression::MultilineOption);
    static const QRegularExpression chapterLine(QStringLiteral("^## "), QRegularExpression::MultilineOption);

    const QRegularExpressionMatch title = titleLine.match(markdown);
    if (!title.hasMatch()) {
        error = QStringLiteral("the guide has no '# ' title line");
        return false;
    }
    const QRegularExpressionMatch chapter = chapterLine.match(markdown, title.capturedEnd());
    if (!chapter.hasMatch()) {
        error = QStringLiteral("the guide has no '## ' chapter after its title");
        return false;
    }
    parts.title = title.captured(1);
    parts.subtitle =
        markdown.mid(title.capturedEnd(), chapter.capturedStart() - title.capturedEnd()).simplified();
    parts.body = markdown.mid(chapter.capturedStart());
    return true;
}

bool writeHelpDocument(const QString& markdown, QIODevice& device, QString& error)
{
    GuideParts parts;
    if (!splitGuide(markdown, parts, error))
        return false;

    QPdfWriter writer(&device);
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(a4Layout());
    writer.setTitle(parts.title);
    writer.setCreator(QStringLiteral("orx-helpdoc"));

    const PageUnits units(kDotsPerInch);
    const QSizeF page = writer.pageLayout().paintRectPixels(kDotsPerInch).size();
    const QSizeF bodySize(page.width(), page.height() - units.mm(kFooterMm));

    QTextDocument doc;
    layOutBody(doc, parts.body, writer, bodySize, units);
    const int bodyPages = doc.pageCount();

    const PagePainter pages(writer, units, bodySize);
    QList<Heading> headings = headingsOnPages(doc, bodySize.height(), 2, 3);
    QList<QList<ContentsLine>> contents = pages.layoutContents(headings);
    const int firstBodyPage = 2 + int(contents.size());
    for (auto& contentsPage : contents)
        for (ContentsLine& line : contentsPage)
            line.heading.page += firstBodyPage;
    const int pageCount = firstBodyPage - 1 + bodyPages;

    QPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("cannot start painting the PDF");
        return false;
    }
    pages.paintTitlePage(painter, parts.title, parts.subtitle);
    int number = 1;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        writer.newPage();
        pages.paintContentsPage(painter, contents[i], i == 0);
        pages.paintFooter(painter, parts.title, ++number, pageCount);
    }
    for (int i = 0; i < bodyPages; ++i) {
        writer.newPage();
        paintBodyPage(painter, doc, bodySize, i);
        pages.paintFooter(painter, parts.title, ++number, pageCount);
    }
    painter.end();
    return true;
}

} // namespace orx::helpdoc
