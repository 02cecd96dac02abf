#include "guide_style.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>
#include <cmath>

namespace orx::helpdoc {

namespace {

const QColor kCodeBackground(241, 243, 246);
const QColor kHeaderBackground(227, 233, 241);

struct HeadingStyle
{
    qreal pointSize;
    qreal spaceAboveMm;
    qreal spaceBelowMm;
    bool ruled;
};

HeadingStyle headingStyle(int level)
{
    switch (level) {
    case 1:
        return {20, 8, 4, true};
    case 2:
        return {16, 8, 3.5, true};
    case 3:
        return {12.5, 5, 1.8, false};
    default:
        return {10.5, 3.5, 1.2, false};
    }
}

// The family, size and weight of a font as a format to merge. (QTextCharFormat::setFont would also
// set a pixel size, which overrides the point size.)
QTextCharFormat charFormat(const QFont& font)
{
    QTextCharFormat format;
    format.setFontFamilies(font.families());
    format.setFontStyleHint(font.styleHint());
    format.setFontFixedPitch(font.fixedPitch());
    format.setFontPointSize(font.pointSizeF());
    format.setFontWeight(font.weight());
    return format;
}

// A cursor selecting the text of a block, without its paragraph separators.
QTextCursor blockText(const QTextBlock& block)
{
    QTextCursor cursor(block);
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    return cursor;
}

// Gives every fragment of a block, and the block itself, the given font and colour. The relative
// size that the Markdown import puts on headings is removed, since it would override any point size.
void replaceCharFormats(const QTextBlock& block, const QTextCharFormat& text)
{
    QList<QPair<int, int>> ranges;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        ranges.append({it.fragment().position(), it.fragment().length()});
    for (const auto& [position, length] : ranges) {
        QTextCursor cursor(block);
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        QTextCharFormat format = cursor.charFormat();
        format.clearProperty(QTextFormat::FontSizeAdjustment);
        format.merge(text);
        cursor.setCharFormat(format);
    }
    QTextCharFormat blockFormat = block.charFormat();
    blockFormat.clearProperty(QTextFormat::FontSizeAdjustment);
    blockFormat.merge(text);
    QTextCursor(block).setBlockCharFormat(blockFormat);
}

bool inTable(const QTextBlock& block)
{
    return QTextCursor(block).currentTable() != nullptr;
}

bool isCodeLine(const QTextBlock& block)
{
    return block.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
}

void styleHeading(const QTextBlock& block, const PageUnits& units)
{
    const HeadingStyle style = headingStyle(block.blockFormat().headingLevel());
    QTextCharFormat text = charFormat(textFont(style.pointSize, true));
    text.setForeground(style.pointSize >= 12 ? kAccent : kInk);
    replaceCharFormats(block, text);

    QTextBlockFormat format = block.blockFormat();
    format.setTopMargin(units.mm(style.spaceAboveMm));
    format.setBottomMargin(units.mm(style.spaceBelowMm));
    if (style.ruled)
        format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                           QTextLength(QTextLength::PercentageLength, 100));
    QTextCursor(block).setBlockFormat(format);
}

void styleCodeLine(const QTextBlock& block, const PageUnits& units)
{
    const QTextCharFormat text = charFormat(codeFont(8.8));
    QTextCursor cursor = blockText(block);
    cursor.mergeCharFormat(text);
    cursor.mergeBlockCharFormat(text);

    const bool first = !isCodeLine(block.previous());
    const bool last = !isCodeLine(block.next());
    QTextBlockFormat format = block.blockFormat();
    format.setBackground(kCodeBackground);
    format.setLeftMargin(units.mm(2));
    format.setTextIndent(units.mm(2.5));
    format.setTopMargin(first ? units.mm(1) : 0);
    format.setBottomMargin(last ? units.mm(3) : 0);
    format.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
    cursor.setBlockFormat(format);
}

void styleParagraph(const QTextBlock& block, const PageUnits& units)
{
    QTextBlockFormat format = block.blockFormat();
    const QTextList* list = block.textList();
    const bool listContinues = list && block.next().isValid() && block.next().textList() != nullptr;
    format.setTopMargin(0);
    format.setBottomMargin(units.mm(listContinues ? 1.0 : 2.4));
    format.setLineHeight(112, QTextBlockFormat::ProportionalHeight);
    QTextCursor(block).setBlockFormat(format);
}

// Code spans inside running text: the code font on a faint background.
void styleInlineCode(const QTextBlock& block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().fontFixedPitch())
            continue;
        QTextCursor cursor(block);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        QTextCharFormat code = charFormat(codeFont(9));
        code.setBackground(kCodeBackground);
        cursor.mergeCharFormat(code);
    }
}

void styleTable(QTextTable& table, const PageUnits& units)
{
    QTextTableFormat format = table.format();
    format.setBorder(units.pt(0.75));
    format.setBorderBrush(kRule);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(units.mm(1.2));
    format.setCellSpacing(0);
    format.setHeaderRowCount(1);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setTopMargin(units.mm(1));
    format.setBottomMargin(units.mm(3));
    table.setFormat(format);

    for (int column = 0; column < table.columns(); ++column) {
        QTextTableCell cell = table.cellAt(0, column);
        QTextCharFormat background = cell.format();
        background.setBackground(kHeaderBackground);
        cell.setFormat(background);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(bold);
    }
}

void styleTables(QTextFrame* frame, const PageUnits& units)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            styleTable(*table, units);
        styleTables(child, units);
    }
}

// Where the lines of a block of the root frame stand in the document, margins left out. The
// document must be laid out.
QRectF textRect(const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    return layout->boundingRect().translated(layout->position());
}

// Whether a block continues a run of headings (or, with `heading` false, of code lines).
bool sameKind(const QTextBlock& block, bool heading)
{
    return heading ? block.blockFormat().headingLevel() > 0 : isCodeLine(block);
}

int pageOf(qreal y, qreal pageHeight)
{
    return int(std::floor(y / pageHeight));
}

} // namespace

QFont textFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont codeFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Courier New")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

void styleGuide(QTextDocument& doc, const PageUnits& units)
{
    doc.setDocumentMargin(0);
    doc.setIndentWidth(units.mm(6));
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            styleHeading(block, units);
        else if (isCodeLine(block))
            styleCodeLine(block, units);
        else if (!inTable(block))
            styleParagraph(block, units);
        if (!isCodeLine(block))
            styleInlineCode(block);
    }
    styleTables(doc.rootFrame(), units);
}

void keepTogether(QTextDocument& doc, qreal pageHeight, qreal minimumFollowing)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const bool heading = block.blockFormat().headingLevel() > 0;
        if (!heading && !isCodeLine(block))
            continue;
        doc.documentLayout()->documentSize(); // lays out what the last page break moved
        const QTextBlock first = block;
        QRectF run = textRect(first);
        while (block.next().isValid() && sameKind(block.next(), heading)) {
            block = block.next();
            run = run.united(textRect(block));
        }
        const qreal pageEnd = (pageOf(run.top(), pageHeight) + 1) * pageHeight;
        const bool split = heading ? run.bottom() + minimumFollowing > pageEnd
                                   : run.bottom() > pageEnd && run.height() < pageHeight / 2;
        if (!split)
            continue;
        QTextBlockFormat format = first.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(first).setBlockFormat(format);
    }
}

QList<Heading> headingsOnPages(QTextDocument& doc, qreal pageHeight, int topLevel, int bottomLevel)
{
    doc.documentLayout()->documentSize();
    QList<Heading> headings;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level >= topLevel && level <= bottomLevel)
            headings.append({level, block.text(), pageOf(textRect(block).top(), pageHeight)});
    }
    return headings;
}

} // namespace orx::helpdoc
