// The virtual instrument's own rules: limits, CV/CC, trips, memories, the automatic sequence, errors.

#include "sim/instrument.h"

#include "base/model_limits.h"
#include "base/numbers.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

// Plays steps separated by "; " with `orx` and returns it. A step is a line and, after " -> ", the
// answer it must get (without one: no answer, shown as "-"); "@<ms> " first moves the clock on to
// that time and "load <ohms>" puts a load on the output.
Instrument play(const QString& script, Instrument orx = Instrument(0))
{
    qint64 nowMs = 0;
    for (QString step : script.split(QStringLiteral("; "))) {
        if (step.startsWith(u'@')) {
            nowMs = step.section(u' ', 0, 0).mid(1).toLongLong();
            step = step.section(u' ', 1);
        }
        if (step.startsWith(u"load ")) {
            EXPECT_TRUE(orx.setLoadOhms(step.mid(5).toDouble())) << qPrintable(step);
            continue;
        }
        const QStringList parts = step.split(QStringLiteral(" -> "));
        EXPECT_EQ(orx.handleLine(parts[0], nowMs).value_or("-"), parts.value(1, "-")) << qPrintable(step);
    }
    return orx;
}

// Memories 3, 4 and 5 of an ORX-A100 set to 1 V, 2 V and 3 V for 200 ms, 500 ms and 100 ms (one cycle
// is 800 ms) and the sequence set to run them; the number of cycles follows.
const QString kSequence = QStringLiteral(":VOLT 1; SYST:AUTO:DEL 2; *SAV 03; :VOLT 2; SYST:AUTO:DEL 5; "
                                         "*SAV 04; :VOLT 3; SYST:AUTO:DEL 1; *SAV 05; :VOLT 9; "
                                         "SYST:AUTO:STAR 03; SYST:AUTO:CEAS 05; SYST:AUTO:CYCL ");

} // namespace

// Every set-point and level, in each range, at, above and below its limit, for each model.
TEST(Instrument, SetpointsAreHeldToTheModelLimits)
{
    const QString ok = QStringLiteral("0,\"No error\""), held = QStringLiteral("-222,\"Data out of range\"");
    for (int model = 0; model < kModelCount; ++model) {
        SCOPED_TRACE(QStringLiteral("model %1").arg(model).toStdString());
        for (const auto& [range, command, column] : {std::tuple{":VOLT:RANG LOW", ":VOLT", kVoltMaxLow},
                                                     {":VOLT:RANG HIGH", ":VOLT", kVoltMaxHigh},
                                                     {":VOLT:RANG LOW", ":CURR", kCurrMaxLow},
                                                     {":VOLT:RANG HIGH", ":CURR", kCurrMaxLow},
                                                     {":VOLT:RANG LOW", ":VOLT:PROT", kOvpMax},
                                                     {":VOLT:RANG HIGH", ":CURR:PROT", kOcpMax}}) {
            const float limit = column[static_cast<size_t>(model)];
            const QString atLimit = format3(double(limit));
            const QString cases[][3] = {
                {atLimit, atLimit, ok},                                  // as the panel's field shows it
                {QString::number(double(limit), 'g', 17), atLimit, ok},  // the widened float itself
                {format3(double(limit) + 0.001), atLimit, held},         // one step above
                {QStringLiteral("-0.5"), QStringLiteral("0.000"), held}, // below zero
                {QStringLiteral("1.2345"), QStringLiteral("1.235"), ok}, // the instrument's resolution
            };
            for (const auto& c : cases)
                play(QStringLiteral("%1; %2 %3; %2? -> %4; SYST:ERR? -> %5")
                         .arg(range, command, c[0], c[1], c[2]),
                     Instrument(model));
        }
    }
}

// On an ORX-A100 (low range 8.24 V / 20.6 A, high range 20.6 V / 10.3 A) a current above the high
// range waits for the next range command; a change of range holds the set-points to the new range.
// Values beyond their range are held with an error.
TEST(Instrument, HoldsValuesToTheirRanges)
{
    const QString outOfRange = QStringLiteral("SYST:ERR? -> -222,\"Data out of range\"; ");
    play(":VOLT:RANG HIGH; :VOLT 5; :CURR 15; :CURR? -> 15.000; load 0.1; :OUTP:STAT 1; :MEAS:CURR? -> "
         "10.300; :VOLT:RANG LOW; :CURR? -> 15.000; :MEAS:CURR? -> 15.000; SYST:ERR? -> 0,\"No error\"");
    const Instrument orx = play(":VOLT:RANG HIGH; :VOLT 15; :VOLT:RANG LOW; :VOLT? -> 8.240; " + outOfRange +
                                ":CURR 15; :VOLT:RANG HIGH; :CURR? -> 10.300; " + outOfRange +
                                "SYST:AUTO:DEL 1; SYST:AUTO:DEL? -> 1; SYST:AUTO:DEL 59999; "
                                "SYST:AUTO:DEL? -> 59999; SYST:AUTO:CYCL 99999; SYST:AUTO:CYCL? -> 99999; "
                                "SYST:ERR? -> 0,\"No error\"");
    for (const char* held :
         {":VOLT 1e999; :VOLT? -> 20.600", ":VOLT -1e999; :VOLT? -> 0.000",
          "SYST:AUTO:DEL 0; SYST:AUTO:DEL? -> 1", "SYST:AUTO:CYCL -1; SYST:AUTO:CYCL? -> 0",
          "SYST:AUTO:DEL 70000; SYST:AUTO:DEL? -> 59999", "SYST:AUTO:CYCL 100000; SYST:AUTO:CYCL? -> 99999"})
        play(held + QStringLiteral("; SYST:ERR? -> -222,\"Data out of range\"; SYST:ERR? -> 0,\"No error\""),
             orx);
}

// A refused line gets no answer, queues exactly its error and changes no setting and no memory.
// Headers are matched as the panel sends them, in upper case. The error queue is oldest first,
// overflows into one last error and clears.
TEST(Instrument, RefusedLinesChangeNothing)
{
    const std::pair<QString, QStringList> cases[] = {
        {"-113,\"Undefined header\"", {"FOO?", ":volt 5"}},
        {"-109,\"Missing parameter\"", {":VOLT"}},
        {"-108,\"Parameter not allowed\"", {"*CLS 1", ":VOLT? 1"}},
        {"-224,\"Illegal parameter value\"", {":OUTP:STAT on", "SYST:AUTO yes", ":VOLT:RANG MID"}},
        {"-222,\"Data out of range\"", {"*SAV 100", "*SAV -1", "*RCL 100", "*SAV 99999999999999999999"}},
        {"-104,\"Data type error\"", {":VOLT nan", ":VOLT 5 V", "*SAV 9.5", "*RCL 1e2", "SYST:AUTO:DEL 2.5"}},
    };
    auto state = [](const Instrument& i) {
        return std::tuple(i.active(), i.outputOn(), i.highRange(), i.autoRunning(), i.autoPlan().first,
                          i.autoPlan().last, i.autoPlan().cycles);
    };
    const Instrument before = play(":VOLT 3"); // a recall of any memory would show
    for (const auto& [error, lines] : cases) {
        for (const QString& line : lines) {
            const auto after =
                play(line + "; SYST:ERR? -> " + error + "; SYST:ERR? -> 0,\"No error\"", before);
            EXPECT_EQ(state(after), state(before)) << qPrintable(line);
            for (int m = 1; m < kMemoryCount; ++m)
                EXPECT_EQ(after.memory(m), after.memory(0)) << qPrintable(line) << " touched memory " << m;
        }
    }
    const QString undefined = QStringLiteral("; SYST:ERR? -> -113,\"Undefined header\"");
    play("SYST:ERR? -> 0,\"No error\"; :VOLT 99; FOO; SYST:ERR? -> -222,\"Data out of range\"" + undefined +
         QStringLiteral("; FOO").repeated(15) + undefined.repeated(ErrorQueue::kCapacity - 1) +
         "; SYST:ERR? -> -350,\"Queue overflow\"; SYST:ERR? -> 0,\"No error\"; FOO; *CLS; "
         "SYST:ERR? -> 0,\"No error\"");
}

// 5 V and 1 A set: the crossover lies at 5 ohms.
TEST(Instrument, MeasurementsFollowConstantVoltageOrConstantCurrent)
{
    for (const auto& [steps, volts, amps] : {std::tuple{":OUTP:STAT 1", "5.000", "0.000"}, // open circuit
                                             {"load 10; :OUTP:STAT 1", "5.000", "0.500"},  // light load: CV
                                             {"load 5; :OUTP:STAT 1", "5.000", "1.000"},   // at the crossover
                                             {"load 2; :OUTP:STAT 1", "2.000", "1.000"},   // heavy load: CC
                                             {"load 0; :OUTP:STAT 1", "0.000", "1.000"},   // short circuit
                                             {"load 10", "0.000", "0.000"}})               // output off
        play(QStringLiteral(":VOLT 5; :CURR 1; %1; :MEAS? -> %2; :MEAS:CURR? -> %3").arg(steps, volts, amps),
             Instrument(1));
    EXPECT_FALSE(Instrument(0).setLoadOhms(-1.0));
}

// With a 10 ohm load, 5 V and 1 A set, the output delivers 5 V and 0.5 A. Each case ends with the
// OVP trip, the OCP trip and the output state. Neither "*CLS" nor the other clear releases a trip,
// and clearing does not switch the output on.
TEST(Instrument, ProtectionTripsWhileTheOutputIsOnAndAboveTheLevel)
{
    for (const auto& [steps, ovp, ocp, on] :
         {std::tuple{":VOLT:PROT 4.999; :VOLT:PROT:STAT 1; :OUTP:STAT 1", "1", "0", "0"}, // below the output
          {":VOLT:PROT 5; :VOLT:PROT:STAT 1; :OUTP:STAT 1", "0", "0", "1"},               // at the output
          {":VOLT:PROT 4; :VOLT:PROT:STAT 0; :OUTP:STAT 1", "0", "0", "1"},               // OVP off
          {":VOLT:PROT 4; :VOLT:PROT:STAT 1", "0", "0", "0"},                             // output off
          {":VOLT:PROT:STAT 1; :OUTP:STAT 1; :VOLT:PROT 4", "1", "0", "0"},               // level lowered
          {":VOLT:PROT 6; :VOLT:PROT:STAT 1; :OUTP:STAT 1; :VOLT 6.5", "1", "0", "0"},    // voltage raised
          {":CURR:PROT 0.4; :CURR:PROT:STAT 1; :OUTP:STAT 1", "0", "1", "0"},             // below the current
          {":CURR:PROT 0.5; :CURR:PROT:STAT 1; :OUTP:STAT 1", "0", "0", "1"},             // at the current
          {":CURR:PROT 0.4; :OUTP:STAT 1; :CURR:PROT:STAT 1", "0", "1", "0"},             // switched on late
          {":CURR:PROT 0.9; :CURR:PROT:STAT 1; :OUTP:STAT 1; load 5", "0", "1", "0"}})    // load changed
        play(QStringLiteral("load 10; :VOLT 5; :CURR 1; %1; :VOLT:PROT:TRIP? -> %2; :CURR:PROT:TRIP? -> %3; "
                            ":OUTP:STAT? -> %4")
                 .arg(steps, ovp, ocp, on));
    play(":VOLT 5; :VOLT:PROT 4; :VOLT:PROT:STAT 1; :OUTP:STAT 1; :VOLT:PROT:TRIP? -> 1; *CLS; "
         ":CURR:PROT:CLE; :VOLT:PROT:TRIP? -> 1; :OUTP:STAT 1; :OUTP:STAT? -> 0; "
         "SYST:ERR? -> -221,\"Settings conflict\"; :VOLT:PROT:CLE; :VOLT:PROT:TRIP? -> 0; :OUTP:STAT? -> 0; "
         ":VOLT:PROT 6; :OUTP:STAT 1; :OUTP:STAT? -> 1");
}

// A memory never saved holds the factory settings. A recall also brings back the range its values
// need: high for a voltage above the low range's top, low for a current above the high range's top.
TEST(Instrument, MemoriesKeepSettingsAndDelay)
{
    play(":VOLT:RANG HIGH; :VOLT 12.5; :CURR 1; :VOLT:PROT 13; :CURR:PROT 1.1; :VOLT:PROT:STAT 1; "
         "SYST:AUTO:DEL 25; *SAV 07; :VOLT:RANG LOW; SYST:ERR? -> -222,\"Data out of range\"; :VOLT 2; :CURR "
         "15; :VOLT:PROT:STAT 0; "
         ":CURR:PROT:STAT 1; SYST:AUTO:DEL 3; *SAV 08; *RCL 42; :VOLT? -> 0.000; :CURR? -> 1.000; "
         ":VOLT:PROT? -> 22.000; :CURR:PROT? -> 22.000; :VOLT:PROT:STAT? -> 0; :CURR:PROT:STAT? -> 0; "
         "SYST:AUTO:DEL? -> 10; *RCL 7; :VOLT? -> 12.500; :CURR? -> 1.000; :VOLT:PROT? -> 13.000; "
         ":CURR:PROT? -> 1.100; :VOLT:PROT:STAT? -> 1; :CURR:PROT:STAT? -> 0; SYST:AUTO:DEL? -> 25; "
         ":VOLT:RANG? -> HIGH; *RCL 8; :VOLT:RANG? -> LOW; :CURR? -> 15.000; :CURR:PROT:STAT? -> 1; "
         "SYST:ERR? -> 0,\"No error\"");
}

// A long pause still lands on the right step, or past the end on the end memory; zero cycles run until
// switched off (ten hours are 45000 cycles); a trip stops the sequence (memory 4 made 2 V with OVP on at
// 1.5 V; memory 3 stays harmless). The start never lies after the end (the factory range is 0..9; the
// panel sets the end first).
TEST(AutoSequence, StepsThroughTheMemoriesOnItsClockUntilItsCyclesEndOrATrip)
{
    play(kSequence + "2; @1000 SYST:AUTO 1; :VOLT? -> 1.000; @1199 :VOLT? -> 1.000; @1200 :VOLT? -> 2.000; "
                     "@1699 :VOLT? -> 2.000; @1700 :VOLT? -> 3.000; @1799 :VOLT? -> 3.000; "
                     "@1800 :VOLT? -> 1.000; SYST:AUTO? -> 1; @2500 :VOLT? -> 3.000; @2599 SYST:AUTO? -> 1; "
                     "@2600 SYST:AUTO? -> 0; :VOLT? -> 3.000; @9000 SYST:AUTO? -> 0; :VOLT? -> 3.000");
    play(kSequence + "1000; SYST:AUTO 1; @799399 :VOLT? -> 1.000; @799950 :VOLT? -> 3.000; SYST:AUTO? -> 1; "
                     "@800000 SYST:AUTO? -> 0; :VOLT? -> 3.000");
    play(kSequence + "1000; SYST:AUTO 1; @800000 SYST:AUTO? -> 0; :VOLT? -> 3.000"); // one pause past the end
    play(kSequence + "0; SYST:AUTO 1; @36000250 :VOLT? -> 2.000; SYST:AUTO? -> 1; @36000750 :VOLT? -> 3.000; "
                     "@36000760 SYST:AUTO 0; @36005000 :VOLT? -> 3.000; SYST:AUTO? -> 0");
    play(kSequence + "0; :VOLT 2; :VOLT:PROT 1.5; :VOLT:PROT:STAT 1; SYST:AUTO:DEL 5; *SAV 04; "
                     ":VOLT:PROT:STAT 0; :OUTP:STAT 1; SYST:AUTO 1; @100 :OUTP:STAT? -> 1; "
                     "@300 :VOLT:PROT:TRIP? -> 1; SYST:AUTO? -> 0; :OUTP:STAT? -> 0");
    play("SYST:AUTO:STAR 10; SYST:ERR? -> -221,\"Settings conflict\"; SYST:AUTO:STAR? -> 0; "
         "SYST:AUTO:CEAS 20; SYST:AUTO:STAR 10; SYST:AUTO:CEAS 5; SYST:ERR? -> -221,\"Settings conflict\"; "
         "SYST:AUTO:CEAS 100; SYST:ERR? -> -222,\"Data out of range\"; SYST:AUTO:STAR? -> 10; "
         "SYST:AUTO:CEAS? -> 20; SYST:ERR? -> 0,\"No error\"");
}
