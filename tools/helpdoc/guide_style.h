#pragma once
// The look of the help document: page units, fonts and colours, the styling of the imported Markdown
// (headings, paragraphs, lists, code, tables) and the keeping of headings with their text.

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QTextDocument;

namespace orx::helpdoc {

// Lengths on the page in device pixels of the PDF writer.
class PageUnits
{
public:
    explicit PageUnits(qreal dotsPerInch) : m_dpi(dotsPerInch) {}
    qreal mm(qreal millimetres) const { return millimetres * m_dpi / 25.4; }
    qreal pt(qreal points) const { return points * m_dpi / 72.0; }

private:
    qreal m_dpi;
};

inline const QColor kInk(30, 35, 41);
inline const QColor kAccent(27, 79, 138);
inline const QColor kMuted(105, 112, 122);
inline const QColor kRule(154, 164, 176);

QFont textFont(qreal pointSize, bool bold = false);
QFont codeFont(qreal pointSize);

// Fonts, margins and colours for a guide that setMarkdown has just imported. `formatUnits` are the
// units of format lengths, which the layout scales to its paint device.
void styleGuide(QTextDocument& doc, const PageUnits& formatUnits);

// Page breaks that keep things together: a heading (or a run of headings) that would have less than
// `minimumFollowing` of the page left below it starts the next page instead, so no heading stands
// alone at the foot of a page; a code block shorter than half a page is not split across pages.
void keepTogether(QTextDocument& doc, qreal pageHeight, qreal minimumFollowing);

struct Heading
{
    int level;
    QString text;
    int page; // counting from 0 within the laid-out document
};

// The headings of the given levels with the page each one starts on, in document order.
QList<Heading> headingsOnPages(QTextDocument& doc, qreal pageHeight, int topLevel, int bottomLevel);

} // namespace orx::helpdoc
