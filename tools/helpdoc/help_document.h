#pragma once
// Lays out the Markdown user guide as the A4 help document: a title page, a contents page, the
// guide itself with styled headings, tables and code, and a footer with page numbers.
//
// The guide starts with a "# Title" line; the paragraph after it, up to the first "## " chapter
// heading, is the subtitle. Both go on the title page; everything from the first chapter on is the
// body. Chapters ("## ") and sections ("### ") are listed on the contents page.

#include <QString>

class QIODevice;

namespace orx::helpdoc {

struct GuideParts
{
    QString title;
    QString subtitle;
    QString body; // Markdown from the first chapter heading on
};

// Splits the guide into its title page texts and its body; a failure is reported through
// `error` (a guide without a "# " title line or without any chapter).
bool splitGuide(const QString& markdown, GuideParts& parts, QString& error);

// Writes the PDF for the guide to `device`, which must be open for writing. Returns false with a
// reason in `error` when the guide is unusable or the PDF cannot be painted.
bool writeHelpDocument(const QString& markdown, QIODevice& device, QString& error);

} // namespace orx::helpdoc
