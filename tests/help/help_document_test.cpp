// The help document made by the build, and the guide it is made from.

#include "base/model_limits.h"
#include "base/program_state.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace orx;

namespace {

QByteArray readAll(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(HelpDocument, IsAValidMultiPagePdf)
{
    const QString pdf = QString::fromLatin1(readAll(ORX_HELP_PDF));
    ASSERT_TRUE(pdf.startsWith(QStringLiteral("%PDF-"))) << ORX_HELP_PDF;
    EXPECT_TRUE(pdf.trimmed().endsWith(QStringLiteral("%%EOF")));
    // The page tree's count, read within its own dictionary, matches the page objects.
    static const QRegularExpression tree(QStringLiteral("/Type\\s*/Pages\\b(?:(?!>>).)*?/Count\\s+(\\d+)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch count = tree.match(pdf);
    EXPECT_GE(count.captured(1).toInt(), 3);
    EXPECT_EQ(count.captured(1).toInt(), pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

// The text of each page of the help document through pdftotext; empty when that failed (or is not
// installed: the test command installs it).
QStringList pdfPages(const QStringList& options)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{QStringLiteral(ORX_HELP_PDF), "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
}

// The guide without its fenced code blocks: a line in one is no heading, even when it begins with '#'.
QString proseOf(const QString& guide)
{
    QStringList kept;
    bool inCode = false;
    for (const QString& line : guide.split(u'\n')) {
        if (line.startsWith(QStringLiteral("```")))
            inCode = !inCode;
        else if (!inCode)
            kept.append(line);
    }
    return kept.join(u'\n');
}

// Text to compare with the guide: ligatures such as "fi" spelled out, white space made single blanks.
QString simplified(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).simplified();
}

TEST(HelpDocument, ContentsListEveryChapterOfTheGuideWithThePageItIsOn)
{
    const QStringList pages = pdfPages({});
    ASSERT_GE(pages.size(), 3) << "the document read by pdftotext (poppler-utils)";
    // Contents entries "Heading . . . . 7" on the pages after the title page, up to the first page
    // that holds none.
    static const QRegularExpression entry(QStringLiteral("^\\s*(\\S.*?)\\s*(?:\\. ?){3,}\\s*(\\d+)\\s*$"),
                                          QRegularExpression::MultilineOption);
    QMap<QString, int> listed;
    for (const QString& page : pdfPages({QStringLiteral("-layout")}).mid(1)) {
        const qsizetype before = listed.size();
        for (const auto& match : entry.globalMatch(page))
            listed.insert(simplified(match.captured(1)), match.captured(2).toInt());
        if (listed.size() == before)
            break;
    }
    // The guide's title belongs on the title page, each of its chapters on the page the contents name.
    static const QRegularExpression heading(QStringLiteral("^(#{1,3}) +(.+)$"),
                                            QRegularExpression::MultilineOption);
    int headings = 0;
    for (const auto& match : heading.globalMatch(proseOf(QString::fromUtf8(readAll(ORX_USER_GUIDE))))) {
        ++headings;
        const QString title = simplified(match.captured(2));
        const int number = match.captured(1).size() == 1 ? 1 : listed.value(title);
        ASSERT_TRUE(number >= 1 && number <= pages.size()) << qPrintable(title) << " is not in the contents";
        EXPECT_TRUE(simplified(pages[number - 1]).contains(title))
            << qPrintable(title) << " is not on page " << number;
    }
    EXPECT_GT(headings, 20);
    EXPECT_EQ(listed.size(), headings - 1) << "the contents list more than the guide's chapters";
}

// What the guide tells the user must be what the program does: the model limits and the file header.
TEST(UserGuide, AgreesWithTheModelLimitsAndTheFileHeader)
{
    const QString guide = QString::fromUtf8(readAll(ORX_USER_GUIDE));
    EXPECT_TRUE(guide.contains(u'\n' + kCsvHeader + u'\n'));
    for (int model = 0; model < kModelCount; ++model) {
        const QRegularExpression row(QStringLiteral("^\\| %1 \\|(.*)\\|\\s*$").arg(kModelNames[model]),
                                     QRegularExpression::MultilineOption);
        const QStringList cells = row.match(guide).captured(1).split(u'|');
        const std::array<float, 6> expected = {kVoltMaxLow[model],  kCurrMaxLow[model], kVoltMaxHigh[model],
                                               kCurrMaxHigh[model], kOvpMax[model],     kOcpMax[model]};
        ASSERT_EQ(cells.size(), int(expected.size())) << qPrintable(kModelNames[model]);
        for (int i = 0; i < cells.size(); ++i) // a cell that is no number reads as 0, which no limit is
            EXPECT_EQ(cells[i].trimmed().toFloat(), expected[i])
                << qPrintable(kModelNames[model]) << " " << i;
    }
}

} // namespace
