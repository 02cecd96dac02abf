// The virtual instrument's own rules: limits, CV/CC, trips, memories, the automatic sequence, errors.

#include "sim/instrument.h"

#include "app/model_limits.h"
#include "app/numbers.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

const QString kNoError = QStringLiteral("SYST:ERR? -> 0,\"No error\"");
const QString kHeld = QStringLiteral("SYST:ERR? -> -222,\"Data out of range\"");
const QString kConflict = QStringLiteral("SYST:ERR? -> -221,\"Settings conflict\"");

// Plays a dialogue: each step is a line and, after " -> ", the answer it must get; a step without one
// must get no answer. "@<ms> " before a step moves the clock on to that time; "load <ohms>" puts a
// load on the output.
void play(Instrument& orx, const QStringList& steps)
{
    qint64 nowMs = 0;
    for (QString step : steps) {
        if (step.startsWith(u'@')) {
            nowMs = step.section(u' ', 0, 0).mid(1).toLongLong();
            step = step.section(u' ', 1);
        }
        if (step.startsWith(u"load ")) {
            EXPECT_TRUE(orx.setLoadOhms(step.mid(5).toDouble())) << qPrintable(step);
            continue;
        }
        const QStringList parts = step.split(QStringLiteral(" -> "));
        const QString none = QStringLiteral("<no answer>");
        EXPECT_EQ(orx.handleLine(parts[0], nowMs).value_or(none), parts.value(1, none)) << qPrintable(step);
    }
}

// A new ORX-A100 whose memories 3, 4 and 5 hold 1 V, 2 V and 3 V for 200 ms, 500 ms and 100 ms (one
// cycle is 800 ms), set to run them `cycles` times.
Instrument sequenceOf(const QString& cycles)
{
    Instrument orx(0);
    play(orx, {":VOLT 1", "SYST:AUTO:DEL 2", "*SAV 03", ":VOLT 2", "SYST:AUTO:DEL 5", "*SAV 04", ":VOLT 3",
               "SYST:AUTO:DEL 1", "*SAV 05", ":VOLT 9", "SYST:AUTO:STAR 03", "SYST:AUTO:CEAS 05",
               "SYST:AUTO:CYCL " + cycles});
    return orx;
}

} // namespace

// Every set-point and level, in each range, at, above and below its limit, for each model.
TEST(Instrument, SetpointsAreHeldToTheModelLimits)
{
    for (int model = 0; model < kModelCount; ++model) {
        for (const auto& [range, command, column] : {std::tuple{":VOLT:RANG LOW", ":VOLT", kVoltMaxLow},
                                                     {":VOLT:RANG HIGH", ":VOLT", kVoltMaxHigh},
                                                     {":VOLT:RANG LOW", ":CURR", kCurrMaxLow},
                                                     {":VOLT:RANG HIGH", ":CURR", kCurrMaxHigh},
                                                     {":VOLT:RANG LOW", ":VOLT:PROT", kOvpMax},
                                                     {":VOLT:RANG HIGH", ":CURR:PROT", kOcpMax}}) {
            const float limit = column[static_cast<size_t>(model)];
            const QString atLimit = format3(double(limit));
            const QString cases[][3] = {
                {atLimit, atLimit, kNoError},                                 // as the panel's field shows it
                {QString::number(double(limit), 'g', 17), atLimit, kNoError}, // the widened float itself
                {format3(double(limit) + 0.001), atLimit, kHeld},             // one step above
                {QStringLiteral("1e9"), atLimit, kHeld},                      // far above
                {QStringLiteral("-0.5"), QStringLiteral("0.000"), kHeld},     // below zero
                {QStringLiteral("1.2345"), QStringLiteral("1.235"), kNoError}, // the instrument's resolution
            };
            for (const auto& c : cases) {
                SCOPED_TRACE(QStringLiteral("model %1").arg(model).toStdString());
                Instrument orx(model);
                play(orx, {range, command + (u' ' + c[0]), command + ("? -> " + c[1]), c[2]});
            }
        }
    }
}

TEST(Instrument, AcceptsWellFormedLinesAndHoldsValuesToTheirRanges)
{
    Instrument orx(0);
    play(orx, {"  *IDN?\r\n -> QZ.Inc,ORX-A100,SN000001,1.00", "\tVOLT\t5.", ":VOLT? -> 5.000", ":VOLT .5",
               ":VOLT? -> 0.500", ":VOLT 1E-3", ":VOLT? -> 0.001", ":OUTP:STAT ON", ":OUTP:STAT? -> 1",
               ":OUTP:STAT OFF", ":OUTP:STAT? -> 0", "SYST:AUTO:DEL 1", "SYST:AUTO:DEL? -> 1",
               "SYST:AUTO:DEL 59999", "SYST:AUTO:DEL? -> 59999", "SYST:AUTO:CYCL 99999",
               "SYST:AUTO:CYCL? -> 99999", kNoError});
    // Values beyond a range: each line, then what it leaves set.
    const char* held[] = {":VOLT 1e999",          ":VOLT? -> 8.240",         ":VOLT -1e999",
                          ":VOLT? -> 0.000",      "SYST:AUTO:DEL 0",         "SYST:AUTO:DEL? -> 1",
                          "SYST:AUTO:DEL 70000",  "SYST:AUTO:DEL? -> 59999", "SYST:AUTO:CYCL -1",
                          "SYST:AUTO:CYCL? -> 0", "SYST:AUTO:CYCL 100000",   "SYST:AUTO:CYCL? -> 99999"};
    for (size_t i = 0; i < std::size(held); i += 2)
        play(orx, {held[i], held[i + 1], kHeld, kNoError});
}

// A refused line gets no answer, queues exactly its error and changes no setting and no memory.
// Headers are matched as the panel sends them, in upper case.
TEST(Instrument, RefusedLinesChangeNothing)
{
    const std::pair<QString, QStringList> cases[] = {
        {"-113,\"Undefined header\"", {"FOO", "FOO?", ":volt 5"}},
        {"-109,\"Missing parameter\"", {":VOLT"}},
        {"-108,\"Parameter not allowed\"", {"*CLS 1", ":VOLT? 1"}},
        {"-224,\"Illegal parameter value\"",
         {":OUTP:STAT on", ":OUTP:STAT 2", "SYST:AUTO yes", ":VOLT:RANG MID"}},
        {"-222,\"Data out of range\"", {"*SAV 100", "*SAV -1", "*RCL 100", "*SAV 99999999999999999999"}},
        {"-104,\"Data type error\"",
         {":VOLT abc", ":VOLT 1,5", ":VOLT nan", ":VOLT inf", ":VOLT 1e", ":VOLT 1.2.3", ":VOLT 5 V",
          ":VOLT -", "*SAV 9.5", "*RCL five", "*RCL 1e2", "SYST:AUTO:DEL 2.5", "SYST:AUTO:STAR x"}},
    };
    auto state = [](const Instrument& i) {
        return std::tuple(i.active(), i.outputOn(), i.highRange(), i.autoRunning(), i.autoPlan().first,
                          i.autoPlan().last, i.autoPlan().cycles);
    };
    for (const auto& [error, lines] : cases) {
        for (const QString& line : lines) {
            Instrument orx(0);
            orx.handleLine(QStringLiteral(":VOLT 3"), 0); // a recall of any memory would show
            const auto before = state(orx);
            play(orx, {line, "SYST:ERR? -> " + error, kNoError});
            EXPECT_EQ(state(orx), before) << qPrintable(line);
            for (int m = 1; m < kMemoryCount; ++m)
                EXPECT_EQ(orx.memory(m), orx.memory(0)) << qPrintable(line) << " touched memory " << m;
        }
    }
}

TEST(Instrument, ChangingTheRangeHoldsTheSetpointsToIt)
{
    Instrument orx(0); // ORX-A100: low 8.24 V / 20.6 A, high 20.6 V / 10.3 A
    play(orx, {":VOLT:RANG HIGH", ":VOLT 15", ":VOLT:RANG LOW", ":VOLT? -> 8.240", ":CURR 15",
               ":VOLT:RANG HIGH", ":CURR? -> 10.300", kNoError, ":CURR 15", ":CURR? -> 10.300", kHeld});
}

TEST(Instrument, MeasurementsFollowConstantVoltageOrConstantCurrent)
{
    // 5 V and 1 A set: the crossover lies at 5 ohms.
    const QStringList cases[] = {
        {"open circuit", ":OUTP:STAT 1", ":MEAS? -> 5.000", ":MEAS:CURR? -> 0.000"},
        {"light load: CV", "load 10", ":OUTP:STAT 1", ":MEAS? -> 5.000", ":MEAS:CURR? -> 0.500"},
        {"at the crossover", "load 5", ":OUTP:STAT 1", ":MEAS? -> 5.000", ":MEAS:CURR? -> 1.000"},
        {"heavy load: CC", "load 2", ":OUTP:STAT 1", ":MEAS? -> 2.000", ":MEAS:CURR? -> 1.000"},
        {"short circuit", "load 0", ":OUTP:STAT 1", ":MEAS? -> 0.000", ":MEAS:CURR? -> 1.000"},
        {"output off", "load 10", ":MEAS? -> 0.000", ":MEAS:CURR? -> 0.000"},
    };
    for (const QStringList& c : cases) {
        SCOPED_TRACE(c[0].toStdString());
        Instrument orx(1);
        play(orx, QStringList{":VOLT 5", ":CURR 1"} + c.mid(1));
    }
    EXPECT_FALSE(Instrument(0).setLoadOhms(-1.0));
}

// With a 10 ohm load, 5 V and 1 A set, the output delivers 5 V and 0.5 A. Each case ends with the
// OVP trip, the OCP trip and the output state.
TEST(Instrument, ProtectionTripsWhileTheOutputIsOnAndAboveTheLevel)
{
    const QStringList cases[] = {
        {"OVP below the output", ":VOLT:PROT 4.999", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", "1", "0", "0"},
        {"OVP at the output", ":VOLT:PROT 5", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", "0", "0", "1"},
        {"OVP off", ":VOLT:PROT 4", ":VOLT:PROT:STAT 0", ":OUTP:STAT 1", "0", "0", "1"},
        {"OVP with the output off", ":VOLT:PROT 4", ":VOLT:PROT:STAT 1", "0", "0", "0"},
        {"OVP lowered while on", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", ":VOLT:PROT 4", "1", "0", "0"},
        {"voltage past OVP", ":VOLT:PROT 6", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", ":VOLT 6.5", "1", "0", "0"},
        {"OCP below the current", ":CURR:PROT 0.4", ":CURR:PROT:STAT 1", ":OUTP:STAT 1", "0", "1", "0"},
        {"OCP at the current", ":CURR:PROT 0.5", ":CURR:PROT:STAT 1", ":OUTP:STAT 1", "0", "0", "1"},
        {"OCP switched on late", ":CURR:PROT 0.4", ":OUTP:STAT 1", ":CURR:PROT:STAT 1", "0", "1", "0"},
        {"load change", ":CURR:PROT 0.9", ":CURR:PROT:STAT 1", ":OUTP:STAT 1", "load 5", "0", "1", "0"},
    };
    for (const QStringList& c : cases) {
        SCOPED_TRACE(c[0].toStdString());
        Instrument orx(0);
        const qsizetype n = c.size();
        play(orx, QStringList{"load 10", ":VOLT 5", ":CURR 1"} + c.mid(1, n - 4) +
                      QStringList{":VOLT:PROT:TRIP? -> " + c[n - 3], ":CURR:PROT:TRIP? -> " + c[n - 2],
                                  ":OUTP:STAT? -> " + c[n - 1]});
    }
}

TEST(Instrument, ATripStaysLatchedUntilItsOwnClear)
{
    Instrument orx(0);
    play(orx, {":VOLT 5", ":VOLT:PROT 4", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", ":VOLT:PROT:TRIP? -> 1",
               "*CLS", ":CURR:PROT:CLE", ":VOLT:PROT:TRIP? -> 1", // neither releases it
               ":OUTP:STAT 1", ":OUTP:STAT? -> 0", kConflict, ":VOLT:PROT:CLE", ":VOLT:PROT:TRIP? -> 0",
               ":OUTP:STAT? -> 0", // clearing does not switch the output on
               ":VOLT:PROT 6", ":OUTP:STAT 1", ":OUTP:STAT? -> 1"});
    orx.frontPanelOutputOff(); // the output key: off, but no trip
    play(orx, {":OUTP:STAT? -> 0", ":VOLT:PROT:TRIP? -> 0", ":OUTP:STAT 1"});
    orx.forceTrip(Protection::Ocp);
    play(orx, {":CURR:PROT:TRIP? -> 1", ":OUTP:STAT? -> 0"});
}

TEST(Instrument, MemoriesKeepSettingsAndDelay)
{
    Instrument orx(0);
    play(orx, {":VOLT:RANG HIGH", ":VOLT 12.5", ":CURR 1", ":VOLT:PROT 13", ":CURR:PROT 1.1",
               ":VOLT:PROT:STAT 1", ":CURR:PROT:STAT 0", "SYST:AUTO:DEL 25", "*SAV 07", ":VOLT:RANG LOW",
               ":VOLT 2", ":CURR 3", ":VOLT:PROT:STAT 0", "SYST:AUTO:DEL 3"});
    // Memory 42 was never saved: it holds the factory settings.
    play(orx,
         {"*RCL 42", ":VOLT? -> 0.000", ":CURR? -> 1.000", ":VOLT:PROT? -> 22.000", ":CURR:PROT? -> 22.000",
          ":VOLT:PROT:STAT? -> 0", ":CURR:PROT:STAT? -> 0", "SYST:AUTO:DEL? -> 10", ":VOLT:RANG? -> LOW"});
    play(orx, {"*RCL 7", ":VOLT? -> 12.500", ":CURR? -> 1.000", ":VOLT:PROT? -> 13.000",
               ":CURR:PROT? -> 1.100", ":VOLT:PROT:STAT? -> 1", ":CURR:PROT:STAT? -> 0",
               "SYST:AUTO:DEL? -> 25", ":VOLT:RANG? -> HIGH", kNoError});
}

TEST(AutoSequence, StepsThroughTheMemoriesOnItsClockAndStopsAfterItsCycles)
{
    Instrument orx = sequenceOf("2");
    play(orx, {"@1000 SYST:AUTO 1", ":VOLT? -> 1.000", "@1199 :VOLT? -> 1.000", "@1200 :VOLT? -> 2.000",
               "@1699 :VOLT? -> 2.000", "@1700 :VOLT? -> 3.000", "@1799 :VOLT? -> 3.000",
               "@1800 :VOLT? -> 1.000", "SYST:AUTO? -> 1", "@2500 :VOLT? -> 3.000", "@2599 SYST:AUTO? -> 1",
               "@2600 SYST:AUTO? -> 0", ":VOLT? -> 3.000", "@9000 SYST:AUTO? -> 0", ":VOLT? -> 3.000"});
    // A long pause between queries still lands on the right step of the last cycle.
    Instrument later = sequenceOf("1000");
    play(later, {"SYST:AUTO 1", "@799399 :VOLT? -> 1.000", "@799950 :VOLT? -> 3.000", "SYST:AUTO? -> 1",
                 "@800000 SYST:AUTO? -> 0", ":VOLT? -> 3.000"});
}

TEST(AutoSequence, ZeroCyclesRunsUntilSwitchedOff)
{
    Instrument orx = sequenceOf("0"); // ten hours are 45000 whole cycles
    play(orx, {"SYST:AUTO 1", "@36000250 :VOLT? -> 2.000", "SYST:AUTO? -> 1", "@36000750 :VOLT? -> 3.000",
               "@36000760 SYST:AUTO 0", "@36005000 :VOLT? -> 3.000", "SYST:AUTO? -> 0"});
}

TEST(AutoSequence, ATripStopsTheSequence)
{
    Instrument orx = sequenceOf("0");
    // Memory 4 becomes 2 V with OVP on at 1.5 V; memory 3 (1 V, OVP off) stays harmless.
    play(orx, {":VOLT 2", ":VOLT:PROT 1.5", ":VOLT:PROT:STAT 1", "SYST:AUTO:DEL 5", "*SAV 04",
               ":VOLT:PROT:STAT 0", ":OUTP:STAT 1", "SYST:AUTO 1", "@100 :OUTP:STAT? -> 1",
               "@300 :VOLT:PROT:TRIP? -> 1", "SYST:AUTO? -> 0", ":OUTP:STAT? -> 0"});
}

TEST(AutoSequence, StartNeverLiesAfterTheEnd)
{
    Instrument orx(0); // the factory range is 0..9; the panel sets the end first
    play(orx,
         {"SYST:AUTO:STAR 10", kConflict, "SYST:AUTO:STAR? -> 0", "SYST:AUTO:CEAS 20", "SYST:AUTO:STAR 10",
          "SYST:AUTO:STAR 25", kConflict, "SYST:AUTO:STAR? -> 10", "SYST:AUTO:CEAS? -> 20",
          "SYST:AUTO:CEAS 30", "SYST:AUTO:STAR 25", "SYST:AUTO:CEAS 24", kConflict, "SYST:AUTO:CEAS 100",
          kHeld, "SYST:AUTO:STAR? -> 25", "SYST:AUTO:CEAS? -> 30", kNoError});
}

TEST(InstrumentErrors, QueueIsOldestFirstOverflowsAndClears)
{
    const QString undefined = QStringLiteral("SYST:ERR? -> -113,\"Undefined header\"");
    Instrument orx(0);
    play(orx, QStringList{kNoError, ":VOLT 99", "FOO", kHeld, undefined} +
                  QStringList(15, QStringLiteral("FOO")) + QStringList(ErrorQueue::kCapacity - 1, undefined) +
                  QStringList{"SYST:ERR? -> -350,\"Queue overflow\"", kNoError, "FOO", "*CLS", kNoError});
}
