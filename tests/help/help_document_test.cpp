// The help document made by the build, and the guide it is made from.

#include "app/model_limits.h"
#include "app/program_state.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orx;

namespace {

QByteArray readAll(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page count of the document's page tree, or -1 when there is none.
int pageTreeCount(const QByteArray& pdf)
{
    static const QRegularExpression pages(QStringLiteral("/Type\\s*/Pages\\b(.*?)>>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression count(QStringLiteral("/Count\\s+(\\d+)"));
    const QRegularExpressionMatch tree = pages.match(QString::fromLatin1(pdf));
    if (!tree.hasMatch())
        return -1;
    const QRegularExpressionMatch n = count.match(tree.captured(1));
    return n.hasMatch() ? n.captured(1).toInt() : -1;
}

int pageObjectCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

// Text to compare with the guide: ligatures such as "fi" spelled out, white space made single blanks.
QString simplifiedText(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).simplified();
}

TEST(HelpDocument, IsAValidMultiPagePdf)
{
    const QByteArray pdf = readAll(ORX_HELP_PDF);
    ASSERT_FALSE(pdf.isEmpty()) << ORX_HELP_PDF;
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    const int pages = pageTreeCount(pdf);
    EXPECT_GE(pages, 3);
    EXPECT_EQ(pages, pageObjectCount(pdf));
}

// The text of each page of the help document, through pdftotext; empty when that failed.
QStringList pdfPages(const QString& tool, const QStringList& options)
{
    QProcess process;
    process.start(tool, options + QStringList{QString::fromUtf8(ORX_HELP_PDF), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
}

class HelpDocumentText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (tool.isEmpty())
            GTEST_SKIP() << "pdftotext is not installed";
        pages = pdfPages(tool, {});
        ASSERT_FALSE(pages.isEmpty());
        guide = QString::fromUtf8(readAll(ORX_USER_GUIDE));
        ASSERT_FALSE(guide.isEmpty());
    }

    QString tool;
    QStringList pages;
    QString guide;
};

TEST_F(HelpDocumentText, EveryChapterOfTheGuideIsInTheDocument)
{
    static const QRegularExpression heading(QStringLiteral("^#{1,3} +(.+)$"),
                                            QRegularExpression::MultilineOption);
    const QString all = simplifiedText(pages.join(u' '));
    int headings = 0;
    for (const auto& match : heading.globalMatch(guide)) {
        ++headings;
        EXPECT_TRUE(all.contains(simplifiedText(match.captured(1)))) << qPrintable(match.captured(1));
    }
    EXPECT_GT(headings, 20);
}

TEST_F(HelpDocumentText, PagesAfterTheTitleAreNumberedInTheFooter)
{
    ASSERT_GE(pages.size(), 3);
    EXPECT_FALSE(pages.first().contains(QStringLiteral("Page 1 of")));
    for (int i = 1; i < pages.size(); ++i) {
        const QString footer = QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size());
        EXPECT_TRUE(pages[i].contains(footer)) << qPrintable(footer);
    }
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Contents")));
}

TEST_F(HelpDocumentText, ContentsNameThePageEachHeadingIsOn)
{
    const QStringList laidOut = pdfPages(tool, {QStringLiteral("-layout")});
    ASSERT_EQ(laidOut.size(), pages.size());
    static const QRegularExpression entry(QStringLiteral("^\\s*(\\S.*?)\\s*(?:\\. ?){3,}\\s*(\\d+)\\s*$"),
                                          QRegularExpression::MultilineOption);
    int entries = 0;
    for (const QString& page : laidOut.mid(1, 2)) {
        for (const auto& match : entry.globalMatch(page)) {
            ++entries;
            const QString heading = simplifiedText(match.captured(1));
            const int number = match.captured(2).toInt();
            ASSERT_TRUE(number > 1 && number <= pages.size()) << qPrintable(heading);
            EXPECT_TRUE(simplifiedText(pages[number - 1]).contains(heading))
                << qPrintable(heading) << " is not on page " << number;
        }
    }
    EXPECT_GT(entries, 20);
}

// The guide's table of model limits must say what the program enforces.
TEST(UserGuide, LimitTableMatchesTheModelLimits)
{
    const QString guide = QString::fromUtf8(readAll(ORX_USER_GUIDE));
    ASSERT_FALSE(guide.isEmpty());
    for (int model = 0; model < kModelCount; ++model) {
        const QRegularExpression row(QStringLiteral("^\\| %1 \\|(.*)\\|\\s*$").arg(kModelNames[model]),
                                     QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = row.match(guide);
        ASSERT_TRUE(match.hasMatch()) << qPrintable(kModelNames[model]);
        const QStringList cells = match.captured(1).split(u'|');
        const std::array<float, 6> expected = {kVoltMaxLow[model],  kCurrMaxLow[model], kVoltMaxHigh[model],
                                               kCurrMaxHigh[model], kOvpMax[model],     kOcpMax[model]};
        ASSERT_EQ(cells.size(), int(expected.size())) << qPrintable(kModelNames[model]);
        for (size_t i = 0; i < expected.size(); ++i) {
            bool ok = false;
            const float value = cells[int(i)].trimmed().toFloat(&ok);
            EXPECT_TRUE(ok) << qPrintable(cells[int(i)]);
            EXPECT_EQ(value, expected[i]) << qPrintable(kModelNames[model]) << " column " << i + 1;
        }
    }
}

TEST(UserGuide, ShowsTheExactFileHeader)
{
    const QString guide = QString::fromUtf8(readAll(ORX_USER_GUIDE));
    EXPECT_TRUE(guide.contains(u'\n' + kCsvHeader + u'\n'));
}

} // namespace
