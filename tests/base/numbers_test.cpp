#include "base/numbers.h"

#include <QLocale>
#include <cfloat>
#include <clocale>
#include <gtest/gtest.h>
#include <limits>

using namespace orx;

TEST(Numbers, LeadingNumberAndWholeTextNumber)
{
    const struct
    {
        const char* text;
        double leading;
        std::optional<double> whole; // the text as one number and nothing else
    } cases[] = {
        {"1.234", 1.234, 1.234},
        {"  +1.5E+01abc", 15.0, {}},
        {"-2.5D2", -250.0, -250.0},
        {"1.5d-1", 0.15, 0.15},
        {"", 0.0, {}},
        {"abc", 0.0, {}},
        {"1 2 3", 123.0, {}},
        {"\t1\n.\n5", 1.5, {}},
        {"12V", 12.0, {}},
        {".5", 0.5, 0.5},
        {"-.", 0.0, {}},
        {"1.5E", 1.5, {}},
        {"3.", 3.0, 3.0},
        {"1,5", 1.0, {}},
        {"--1", 0.0, {}},
        {"1e-400", 0.0, 0.0},
        {" +1\r\n", 1.0, 1.0},
        {"1e999", DBL_MAX, DBL_MAX},
        {"-1e999", -DBL_MAX, -DBL_MAX},
        {"inf", 0.0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(QString::fromLatin1(c.text)), c.leading) << c.text;
        EXPECT_EQ(parseNumber(QString::fromLatin1(c.text)), c.whole) << c.text;
    }
}

TEST(Numbers, WholeNumberHalvesGoToTheEvenNeighbour)
{
    const std::pair<double, double> cases[] = {{2.5, 2}, {3.5, 4},    {-2.5, -2},
                                               {0.5, 0}, {2.4999, 2}, {-0.6, -1}};
    for (const auto& [value, whole] : cases)
        EXPECT_EQ(wholeNumber(value), whole) << value;
    EXPECT_EQ(wholeNumber16(32767.4), 32767);
    EXPECT_FALSE(wholeNumber16(32767.6).has_value());
    EXPECT_FALSE(wholeNumber16(1e300).has_value());
}

TEST(Numbers, Patterns)
{
    const struct
    {
        double value;
        const char* fixed3;
        const char* whole;
        const char* twoDigit;
    } cases[] = {
        {5, "5.000", "5", "05"},
        {0.25, "0.250", "0", "00"},
        {12.3456, "12.346", "12", "12"},
        {double(20.6f), "20.600", "21", "21"},
        {99.9996, "100.000", "100", "100"},
        {0.0625, "0.063", "0", "00"},
        {2.5, "2.500", "2", "02"},
        {3.5, "3.500", "4", "04"},
        {-0.0004, "0.000", "0", "00"},
        {-1.2346, "-1.235", "-1", "-01"},
        {double(8.24f), "8.240", "8", "08"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format3(c.value), QString::fromLatin1(c.fixed3)) << c.value;
        EXPECT_EQ(formatWhole(c.value), QString::fromLatin1(c.whole)) << c.value;
        EXPECT_EQ(formatTwoDigit(c.value), QString::fromLatin1(c.twoDigit)) << c.value;
    }
}

// The monitor cuts after the third decimal of what the instrument said, never of the binary value.
TEST(Numbers, TruncatedDisplay)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12.3456", "12.345"}, {"-0.0019", "-0.001"}, {"1.9999", "1.999"}, {"0.0009", "0.000"},
        {"-0.0009", "0.000"},  {"1.005", "1.005"},    {"2.010", "2.010"},  {"4.35", "4.350"},
        {"65", "65.000"},      {"1.2E+01", "12.000"}, {"1e-9", "0.000"},
    };
    for (const auto& [answer, shown] : cases)
        EXPECT_EQ(formatTruncated3(leadingNumber(QString::fromLatin1(answer))), QString::fromLatin1(shown))
            << answer;
    EXPECT_TRUE(formatTruncated3(-std::numeric_limits<double>::max()).startsWith(u"-17976931348623157"))
        << "the largest double fits";
}

TEST(Numbers, IgnoreTheDesktopLocale)
{
    // A German desktop must still see and send a decimal point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(formatVolts(12.345), "12.345V");
    EXPECT_EQ(leadingNumber(u"12.345"), 12.345);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}
