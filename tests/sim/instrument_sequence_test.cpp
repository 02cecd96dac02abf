#include "sim/instrument.h"

#include <gtest/gtest.h>

using namespace orx::sim;

namespace {

QString ask(Instrument& orx, const char* query, qint64 nowMs)
{
    return orx.handleLine(QString::fromLatin1(query), nowMs).value_or(QStringLiteral("<no answer>"));
}

void send(Instrument& orx, const QString& line, qint64 nowMs = 0)
{
    orx.handleLine(line, nowMs);
}

// Memories 3, 4 and 5 hold 1 V, 2 V and 3 V for 200 ms, 500 ms and 100 ms: one cycle is 800 ms.
void storeThreeMemories(Instrument& orx)
{
    const struct
    {
        int memory;
        const char* volts;
        int delay;
    } memories[] = {{3, "1", 2}, {4, "2", 5}, {5, "3", 1}};
    for (const auto& m : memories) {
        send(orx, QStringLiteral(":VOLT %1").arg(QLatin1String(m.volts)));
        send(orx, QStringLiteral("SYST:AUTO:DEL %1").arg(m.delay));
        send(orx, QStringLiteral("*SAV %1").arg(m.memory, 2, 10, QChar(u'0')));
    }
    send(orx, QStringLiteral(":VOLT 9"));
    send(orx, QStringLiteral("SYST:AUTO:STAR 03"));
    send(orx, QStringLiteral("SYST:AUTO:CEAS 05"));
}

} // namespace

TEST(AutoSequence, StepsThroughTheMemoriesOnItsClockAndStopsAfterItsCycles)
{
    Instrument orx(0);
    storeThreeMemories(orx);
    send(orx, QStringLiteral("SYST:AUTO:CYCL 2"));
    send(orx, QStringLiteral("SYST:AUTO 1"), 1000);
    const struct
    {
        qint64 atMs;
        const char* volts;
        const char* running;
    } probes[] = {
        {1000, "1.000", "1"}, {1199, "1.000", "1"}, {1200, "2.000", "1"},
        {1699, "2.000", "1"}, {1700, "3.000", "1"}, {1799, "3.000", "1"},
        {1800, "1.000", "1"}, // second cycle
        {2000, "2.000", "1"}, {2500, "3.000", "1"}, {2599, "3.000", "1"},
        {2600, "3.000", "0"}, // two cycles done: stopped on the end memory
        {9000, "3.000", "0"},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(ask(orx, ":VOLT?", p.atMs), p.volts) << p.atMs;
        EXPECT_EQ(ask(orx, "SYST:AUTO?", p.atMs), p.running) << p.atMs;
    }
}

TEST(AutoSequence, ALongPauseBetweenQueriesLandsOnTheRightStep)
{
    Instrument orx(0);
    storeThreeMemories(orx);
    send(orx, QStringLiteral("SYST:AUTO:CYCL 1000"));
    send(orx, QStringLiteral("SYST:AUTO 1"), 0);
    // The last cycle starts at 799200 ms: memory 3 until 799400, 4 until 799900, 5 until 800000.
    const struct
    {
        qint64 atMs;
        const char* volts;
        const char* running;
    } probes[] = {{799'399, "1.000", "1"}, {799'950, "3.000", "1"}, {800'000, "3.000", "0"}};
    for (const auto& p : probes) {
        EXPECT_EQ(ask(orx, ":VOLT?", p.atMs), p.volts) << p.atMs;
        EXPECT_EQ(ask(orx, "SYST:AUTO?", p.atMs), p.running) << p.atMs;
    }
}

TEST(AutoSequence, ZeroCyclesRunsUntilSwitchedOff)
{
    Instrument orx(0);
    storeThreeMemories(orx);
    send(orx, QStringLiteral("SYST:AUTO:CYCL 0"));
    send(orx, QStringLiteral("SYST:AUTO 1"), 0);
    const qint64 tenHours = 36'000'000; // 45000 whole cycles
    EXPECT_EQ(ask(orx, ":VOLT?", tenHours + 250), "2.000");
    EXPECT_EQ(ask(orx, "SYST:AUTO?", tenHours + 250), "1");
    EXPECT_EQ(ask(orx, ":VOLT?", tenHours + 750), "3.000");
    send(orx, QStringLiteral("SYST:AUTO 0"), tenHours + 760);
    EXPECT_EQ(ask(orx, ":VOLT?", tenHours + 5000), "3.000") << "switched off: the settings stay";
    EXPECT_EQ(ask(orx, "SYST:AUTO?", tenHours + 5000), "0");
}

TEST(AutoSequence, ATripStopsTheSequence)
{
    Instrument orx(0);
    storeThreeMemories(orx);
    // Memory 4 becomes 2 V with OVP on at 1.5 V; memory 3 (1 V, OVP off) stays harmless.
    for (const char* line : {":VOLT 2", ":VOLT:PROT 1.5", ":VOLT:PROT:STAT 1", "SYST:AUTO:DEL 5", "*SAV 04",
                             ":VOLT:PROT:STAT 0", ":OUTP:STAT 1"})
        send(orx, QString::fromLatin1(line));
    send(orx, QStringLiteral("SYST:AUTO:CYCL 0"));
    send(orx, QStringLiteral("SYST:AUTO 1"), 0);
    EXPECT_EQ(ask(orx, ":OUTP:STAT?", 100), "1");
    EXPECT_EQ(ask(orx, ":VOLT:PROT:TRIP?", 300), "1") << "memory 4 sets a voltage above its OVP level";
    EXPECT_EQ(ask(orx, "SYST:AUTO?", 300), "0");
    EXPECT_EQ(ask(orx, ":OUTP:STAT?", 300), "0");
}

TEST(AutoSequence, StartNeverLiesAfterTheEnd)
{
    Instrument orx(0);
    const struct
    {
        const char* line;
        const char* start;
        const char* end;
        const char* error;
    } steps[] = {
        {"SYST:AUTO:STAR 10", "0", "9", "-221,\"Settings conflict\""}, // the factory range is 0..9
        {"SYST:AUTO:CEAS 20", "0", "20", "0,\"No error\""},
        {"SYST:AUTO:STAR 10", "10", "20", "0,\"No error\""},
        {"SYST:AUTO:STAR 25", "10", "20", "-221,\"Settings conflict\""}, // start before end: refused
        {"SYST:AUTO:CEAS 30", "10", "30", "0,\"No error\""},             // end first, as the panel does
        {"SYST:AUTO:STAR 25", "25", "30", "0,\"No error\""},
        {"SYST:AUTO:CEAS 24", "25", "30", "-221,\"Settings conflict\""},
        {"SYST:AUTO:CEAS 100", "25", "30", "-222,\"Data out of range\""},
        {"SYST:AUTO:STAR x", "25", "30", "-104,\"Data type error\""},
    };
    for (const auto& s : steps) {
        send(orx, QString::fromLatin1(s.line));
        EXPECT_EQ(ask(orx, "SYST:ERR?", 0), s.error) << s.line;
        EXPECT_EQ(ask(orx, "SYST:AUTO:STAR?", 0), s.start) << s.line;
        EXPECT_EQ(ask(orx, "SYST:AUTO:CEAS?", 0), s.end) << s.line;
    }
}

TEST(AutoSequence, CyclesAreHeldWithinTheirRange)
{
    Instrument orx(0);
    const struct
    {
        const char* line;
        const char* cycles;
        const char* error;
    } cases[] = {
        {"SYST:AUTO:CYCL 5", "5", "0,\"No error\""},
        {"SYST:AUTO:CYCL 99999", "99999", "0,\"No error\""},
        {"SYST:AUTO:CYCL 100000", "99999", "-222,\"Data out of range\""},
        {"SYST:AUTO:CYCL -1", "0", "-222,\"Data out of range\""},
    };
    for (const auto& c : cases) {
        send(orx, QString::fromLatin1(c.line));
        EXPECT_EQ(ask(orx, "SYST:AUTO:CYCL?", 0), c.cycles) << c.line;
        EXPECT_EQ(ask(orx, "SYST:ERR?", 0), c.error) << c.line;
    }
}

TEST(InstrumentErrors, BadLinesQueueTheirErrorAndGetNoAnswer)
{
    const struct
    {
        const char* line;
        const char* error;
    } cases[] = {
        {"FOO", "-113,\"Undefined header\""},
        {"FOO?", "-113,\"Undefined header\""},
        {":volt 5", "-113,\"Undefined header\""}, // matched as the panel sends it: upper case
        {":VOLT", "-109,\"Missing parameter\""},
        {":VOLT abc", "-104,\"Data type error\""},
        {":VOLT 1,5", "-104,\"Data type error\""},
        {":VOLT nan", "-104,\"Data type error\""},
        {"*CLS 1", "-108,\"Parameter not allowed\""},
        {":VOLT? 1", "-108,\"Parameter not allowed\""},
        {":OUTP:STAT 2", "-224,\"Illegal parameter value\""},
        {"SYST:AUTO yes", "-224,\"Illegal parameter value\""},
    };
    for (const auto& c : cases) {
        Instrument orx(0);
        EXPECT_FALSE(orx.handleLine(QString::fromLatin1(c.line), 0).has_value()) << c.line;
        EXPECT_EQ(ask(orx, "SYST:ERR?", 0), c.error) << c.line;
        EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "0,\"No error\"") << c.line;
        EXPECT_EQ(ask(orx, ":VOLT?", 0), "0.000") << c.line << " changed nothing";
    }
}

TEST(InstrumentErrors, QueueIsOldestFirstOverflowsAndClears)
{
    Instrument orx(0);
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "0,\"No error\"");
    send(orx, QStringLiteral(":VOLT 99"));
    send(orx, QStringLiteral("FOO"));
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "-222,\"Data out of range\"");
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "-113,\"Undefined header\"");
    for (int i = 0; i < 15; ++i)
        send(orx, QStringLiteral("FOO"));
    for (size_t i = 0; i + 1 < ErrorQueue::kCapacity; ++i)
        EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "-113,\"Undefined header\"") << i;
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "-350,\"Queue overflow\"");
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "0,\"No error\"");
    send(orx, QStringLiteral("FOO"));
    send(orx, QStringLiteral("*CLS"));
    EXPECT_EQ(ask(orx, "SYST:ERR?", 0), "0,\"No error\"");
}

TEST(InstrumentRemote, AnyCommandTakesItToRemoteAndSystLocBack)
{
    Instrument orx(0);
    EXPECT_FALSE(orx.isRemote());
    for (const char* line : {"*IDN?", "FOO", ":VOLT 1"}) {
        send(orx, QStringLiteral("SYST:LOC"));
        EXPECT_FALSE(orx.isRemote()) << line;
        send(orx, QString::fromLatin1(line));
        EXPECT_TRUE(orx.isRemote()) << line;
    }
    orx.goToLocal();
    EXPECT_FALSE(orx.isRemote());
    send(orx, QStringLiteral("   \r"));
    EXPECT_FALSE(orx.isRemote()) << "an empty line is no command";
}
