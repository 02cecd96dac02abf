#include "sim/command_syntax.h"
#include "sim/instrument_settings.h"
#include "sim/wire_pacing.h"

#include <gtest/gtest.h>
#include <limits>

using namespace orx::sim;

TEST(CommandSyntax, SplitsHeaderAndArgument)
{
    const struct
    {
        const char* line;
        const char* header;
        const char* argument;
    } cases[] = {
        {":VOLT 12.345", "VOLT", "12.345"}, {"  :VOLT:PROT   5 \r\n", "VOLT:PROT", "5"},
        {"*IDN?\r", "*IDN?", ""},           {"SYST:AUTO:STAR 05", "SYST:AUTO:STAR", "05"},
        {"\t*RCL\t07", "*RCL", "07"},       {"", "", ""},
    };
    for (const auto& c : cases) {
        const CommandText t = splitCommand(QString::fromLatin1(c.line));
        EXPECT_EQ(t.header, c.header) << c.line;
        EXPECT_EQ(t.argument, c.argument) << c.line;
        EXPECT_EQ(t.hasArgument, *c.argument != '\0') << c.line;
    }
}

TEST(CommandSyntax, DecimalsAreReadStrictly)
{
    const struct
    {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"5", 5.0},
        {"5.", 5.0},
        {".5", 0.5},
        {"-0.25", -0.25},
        {"+1e3", 1000.0},
        {"1E-3", 0.001},
        {" 12.345 ", 12.345},
        {"1e999", std::numeric_limits<double>::max()},
        {"1e-999", 0.0},
        {"abc", std::nullopt},
        {"1,5", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"", std::nullopt},
        {"1e", std::nullopt},
        {"1.2.3", std::nullopt},
        {"5 V", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDecimal(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(CommandSyntax, IntegersAreDigitsOnly)
{
    const struct
    {
        const char* text;
        std::optional<qint64> value;
    } cases[] = {
        {"05", 5},
        {"-3", -3},
        {"+7", 7},
        {"99999999999999999999", std::numeric_limits<qint64>::max()},
        {"-99999999999999999999", std::numeric_limits<qint64>::min()},
        {"1.5", std::nullopt},
        {"1e2", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInteger(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(CommandSyntax, SwitchesAndRanges)
{
    EXPECT_EQ(parseSwitch(u"1"), true);
    EXPECT_EQ(parseSwitch(u"ON"), true);
    EXPECT_EQ(parseSwitch(u"0"), false);
    EXPECT_EQ(parseSwitch(u"OFF"), false);
    EXPECT_EQ(parseSwitch(u"2"), std::nullopt);
    EXPECT_EQ(parseSwitch(u"on"), std::nullopt);
    EXPECT_EQ(parseRange(u"HIGH"), true);
    EXPECT_EQ(parseRange(u"LOW"), false);
    EXPECT_EQ(parseRange(u"MID"), std::nullopt);
}

TEST(InstrumentSettings, MilliUnitsRoundAndSaturate)
{
    EXPECT_EQ(toMilli(8.24f), 8240) << "the single-precision limit is 8.240 at the instrument's resolution";
    EXPECT_EQ(toMilli(20.6f), 20600);
    EXPECT_EQ(toMilli(1.2345), 1235);
    EXPECT_EQ(toMilli(-0.0004), 0);
    EXPECT_EQ(toMilli(1e300), 1'000'000'000'000'000);
    EXPECT_EQ(toMilli(-1e300), -1'000'000'000'000'000);
    EXPECT_EQ(toMilli(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(milliText(12345), "12.345");
    EXPECT_EQ(milliText(5), "0.005");
    EXPECT_EQ(milliText(-250), "-0.250");
}

TEST(WirePacing, EachCharacterTakesTenBitTimes)
{
    const struct
    {
        int baud;
        qint64 chars;
        qint64 ns;
    } cases[] = {
        {9600, 1, 1'041'666},
        {9600, 48, 50'000'000},
        {2400, 6, 25'000'000},
        {1200, 30, 250'000'000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WirePacer(c.baud).durationNs(c.chars), c.ns) << c.baud << " " << c.chars;
}

TEST(WirePacing, CharactersQueueBehindTheOnesOnTheWire)
{
    WirePacer wire(1200);                                 // 8.33 ms a character
    EXPECT_EQ(wire.reserve(1'000'000, 6), 1'000'000);     // free wire: starts at once
    EXPECT_EQ(wire.reserve(2'000'000, 3), 51'000'000);    // waits for the six before it
    EXPECT_EQ(wire.reserve(500'000'000, 1), 500'000'000); // the wire has long been free
    wire.reset();
    EXPECT_EQ(wire.reserve(0, 1), 0);
}
