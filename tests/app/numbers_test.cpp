#include "app/numbers.h"

#include <QLocale>
#include <cfloat>
#include <clocale>
#include <gtest/gtest.h>

using namespace orx;

struct LeadingCase
{
    const char* text;
    double expected;
};

void PrintTo(const LeadingCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class LeadingNumber : public ::testing::TestWithParam<LeadingCase>
{};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart)
{
    EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeadingNumber,
    ::testing::Values(LeadingCase{"1.234", 1.234}, LeadingCase{"  +1.5E+01abc", 15.0},
                      LeadingCase{"-2.5D2", -250.0}, LeadingCase{"1.5d-1", 0.15}, LeadingCase{"", 0.0},
                      LeadingCase{"abc", 0.0}, LeadingCase{"1 2 3", 123.0}, LeadingCase{"\t1\n.\n5", 1.5},
                      LeadingCase{"12V", 12.0}, LeadingCase{".5", 0.5}, LeadingCase{"-.", 0.0},
                      LeadingCase{"1.5E", 1.5}, LeadingCase{"1.5E+", 1.5}, LeadingCase{"3.", 3.0},
                      LeadingCase{"1,5", 1.0}, LeadingCase{"+ 1", 1.0}, LeadingCase{"--1", 0.0},
                      LeadingCase{"1e-400", 0.0}, LeadingCase{"7\r\n", 7.0}, LeadingCase{" +1", 1.0},
                      LeadingCase{"0.999", 0.999}, LeadingCase{"1.000", 1.0}));

TEST(LeadingNumberLimits, HugeValuesStayFinite)
{
    EXPECT_EQ(leadingNumber(u"1e999"), DBL_MAX);
    EXPECT_EQ(leadingNumber(u"-1e999"), -DBL_MAX);
}

TEST(WholeNumber, HalvesGoToTheEvenNeighbour)
{
    const struct
    {
        double value;
        double whole;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {-0.6, -1}, {7, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(wholeNumber(c.value), c.whole) << c.value;
}

TEST(WholeNumber, SixteenBitRange)
{
    EXPECT_EQ(wholeNumber16(32767.4), 32767);
    EXPECT_EQ(wholeNumber16(-32768.0), -32768);
    EXPECT_FALSE(wholeNumber16(32767.6).has_value());
    EXPECT_FALSE(wholeNumber16(1e300).has_value());
}

struct FormatCase
{
    double value;
    const char* fixed3;
    const char* whole;
    const char* twoDigit;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.value;
}

class Formats : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(Formats, FollowThePatterns)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(format3(c.value), QString::fromLatin1(c.fixed3)) << c.value;
    EXPECT_EQ(formatWhole(c.value), QString::fromLatin1(c.whole)) << c.value;
    EXPECT_EQ(formatTwoDigit(c.value), QString::fromLatin1(c.twoDigit)) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Formats,
    ::testing::Values(FormatCase{5, "5.000", "5", "05"}, FormatCase{0.25, "0.250", "0", "00"},
                      FormatCase{0, "0.000", "0", "00"}, FormatCase{12.3456, "12.346", "12", "12"},
                      FormatCase{double(20.6f), "20.600", "21", "21"},
                      FormatCase{99.9996, "100.000", "100", "100"}, FormatCase{0.0625, "0.063", "0", "00"},
                      FormatCase{2.5, "2.500", "3", "03"}, FormatCase{-0.0004, "0.000", "0", "00"},
                      FormatCase{-1.2346, "-1.235", "-1", "-01"},
                      FormatCase{59999, "59999.000", "59999", "59999"},
                      FormatCase{double(8.24f), "8.240", "8", "08"}));

TEST(Formats, MonitorDisplays)
{
    EXPECT_EQ(formatVolts(12.3456), "12.346V");
    EXPECT_EQ(formatAmperes(0), "0.000A");
}

TEST(Formats, IgnoreTheDesktopLocale)
{
    // A German desktop must still see and send a decimal point.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(format3(12.345), "12.345");
    EXPECT_DOUBLE_EQ(leadingNumber(u"12.345"), 12.345);
    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(previous);
    if (!german)
        GTEST_LOG_(INFO) << "de_DE locale not installed; only the Qt default locale was changed";
}
