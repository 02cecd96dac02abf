#include "sim/instrument.h"

#include "app/model_limits.h"
#include "app/numbers.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

// Sends lines at time 0 and returns the last answer.
std::optional<QString> send(Instrument& orx, std::initializer_list<const char*> lines, qint64 nowMs = 0)
{
    std::optional<QString> answer;
    for (const char* line : lines)
        answer = orx.handleLine(QString::fromLatin1(line), nowMs);
    return answer;
}

QString ask(Instrument& orx, const char* query, qint64 nowMs = 0)
{
    return orx.handleLine(QString::fromLatin1(query), nowMs).value_or(QStringLiteral("<no answer>"));
}

QString limitText(float limit)
{
    return format3(double(limit));
}

} // namespace

TEST(Instrument, IdentityNamesTheModel)
{
    const char* expected[] = {"QZ.Inc,ORX-A100,SN000001,1.00", "QZ.Inc,ORX-B200,SN000001,1.00",
                              "QZ.Inc,ORX-C300,SN000001,1.00"};
    for (int model = 0; model < kModelCount; ++model) {
        Instrument orx(model);
        EXPECT_EQ(ask(orx, "*IDN?"), expected[model]);
        EXPECT_EQ(ask(orx, "  *IDN?\r\n"), expected[model]) << "blanks and CR/LF around the line";
    }
    Instrument orx(1);
    orx.setSerialNumber(QStringLiteral("B2-0042"));
    orx.setFirmwareVersion(QStringLiteral("2.10"));
    EXPECT_EQ(ask(orx, "*IDN?"), "QZ.Inc,ORX-B200,B2-0042,2.10");
    EXPECT_EQ(Instrument(7).modelIndex(), 2) << "an index out of range is taken as the nearest model";
}

// Every set-point and level, in each range, at, above and below its limit, for each model.
TEST(Instrument, SetpointsAreHeldToTheModelLimits)
{
    struct Limit
    {
        const char* range; // sent before the value
        const char* command;
        const char* query;
        const LimitColumn& column;
    };
    const Limit limits[] = {
        {":VOLT:RANG LOW", ":VOLT", ":VOLT?", kVoltMaxLow},
        {":VOLT:RANG HIGH", ":VOLT", ":VOLT?", kVoltMaxHigh},
        {":VOLT:RANG LOW", ":CURR", ":CURR?", kCurrMaxLow},
        {":VOLT:RANG HIGH", ":CURR", ":CURR?", kCurrMaxHigh},
        {":VOLT:RANG LOW", ":VOLT:PROT", ":VOLT:PROT?", kOvpMax},
        {":VOLT:RANG HIGH", ":CURR:PROT", ":CURR:PROT?", kOcpMax},
    };
    for (int model = 0; model < kModelCount; ++model) {
        for (const Limit& l : limits) {
            const float limit = l.column[static_cast<size_t>(model)];
            const QString atLimit = limitText(limit);
            struct Case
            {
                QString sent;
                QString answer;
                bool error;
            };
            const Case cases[] = {
                {atLimit, atLimit, false},                                  // as the panel's field shows it
                {QString::number(double(limit), 'g', 17), atLimit, false},  // the widened float itself
                {format3(double(limit) + 0.001), atLimit, true},            // one step above
                {QStringLiteral("1e9"), atLimit, true},                     // far above
                {QStringLiteral("-0.5"), QStringLiteral("0.000"), true},    // below zero
                {QStringLiteral("1.2345"), QStringLiteral("1.235"), false}, // the instrument's resolution
            };
            for (const Case& c : cases) {
                Instrument orx(model);
                orx.handleLine(QString::fromLatin1(l.range), 0);
                orx.handleLine(QString::fromLatin1(l.command) + u' ' + c.sent, 0);
                const QString where = QStringLiteral("model %1, %2 %3").arg(model).arg(l.command, c.sent);
                EXPECT_EQ(ask(orx, l.query), c.answer) << qPrintable(where);
                EXPECT_EQ(ask(orx, "SYST:ERR?").startsWith(u"-222"), c.error) << qPrintable(where);
            }
        }
    }
}

TEST(Instrument, ChangingTheRangeHoldsTheSetpointsToIt)
{
    Instrument orx(0); // ORX-A100: low 8.24 V / 20.6 A, high 20.6 V / 10.3 A
    send(orx, {":VOLT:RANG HIGH", ":VOLT 15"});
    EXPECT_EQ(ask(orx, ":VOLT:RANG?"), "HIGH");
    send(orx, {":VOLT:RANG LOW"});
    EXPECT_EQ(ask(orx, ":VOLT?"), "8.240");
    send(orx, {":CURR 15", ":VOLT:RANG HIGH"});
    EXPECT_EQ(ask(orx, ":CURR?"), "10.300");
    EXPECT_EQ(ask(orx, "SYST:ERR?"), "0,\"No error\"") << "a range change is no error";
    send(orx, {":CURR 15"});
    EXPECT_EQ(ask(orx, ":CURR?"), "10.300") << "the high range holds the current to its own limit";
    EXPECT_EQ(ask(orx, "SYST:ERR?"), "-222,\"Data out of range\"");
    send(orx, {":VOLT:RANG MID"});
    EXPECT_EQ(ask(orx, ":VOLT:RANG?"), "HIGH");
    EXPECT_EQ(ask(orx, "SYST:ERR?"), "-224,\"Illegal parameter value\"");
}

TEST(Instrument, MeasurementsFollowConstantVoltageOrConstantCurrent)
{
    struct Case
    {
        const char* name;
        std::optional<double> ohms;
        bool outputOn;
        const char* volts;
        const char* amps;
    };
    // 5 V and 1 A set: the crossover lies at 5 ohms.
    const Case cases[] = {
        {"open circuit", std::nullopt, true, "5.000", "0.000"},
        {"light load: CV", 10.0, true, "5.000", "0.500"},
        {"at the crossover", 5.0, true, "5.000", "1.000"},
        {"heavy load: CC", 2.0, true, "2.000", "1.000"},
        {"short circuit", 0.0, true, "0.000", "1.000"},
        {"output off", 10.0, false, "0.000", "0.000"},
    };
    for (const Case& c : cases) {
        Instrument orx(1);
        if (c.ohms) {
            ASSERT_TRUE(orx.setLoadOhms(*c.ohms));
        }
        send(orx, {":VOLT 5", ":CURR 1"});
        if (c.outputOn)
            send(orx, {":OUTP:STAT 1"});
        EXPECT_EQ(ask(orx, ":MEAS?"), c.volts) << c.name;
        EXPECT_EQ(ask(orx, ":MEAS:CURR?"), c.amps) << c.name;
    }
    Instrument orx(0);
    EXPECT_FALSE(orx.setLoadOhms(-1.0));
    EXPECT_FALSE(orx.loadOhms().has_value());
}

TEST(Instrument, ProtectionTripsWhileTheOutputIsOnAndAboveTheLevel)
{
    struct Case
    {
        const char* name;
        std::initializer_list<const char*> lines;
        const char* ovpTrip;
        const char* ocpTrip;
        const char* output;
    };
    // 10 ohm load, 5 V and 1 A set: the output delivers 5 V and 0.5 A.
    const Case cases[] = {
        {"OVP below the output", {":VOLT:PROT 4.999", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1"}, "1", "0", "0"},
        {"OVP at the output", {":VOLT:PROT 5", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1"}, "0", "0", "1"},
        {"OVP off", {":VOLT:PROT 4", ":VOLT:PROT:STAT 0", ":OUTP:STAT 1"}, "0", "0", "1"},
        {"OVP with the output off", {":VOLT:PROT 4", ":VOLT:PROT:STAT 1"}, "0", "0", "0"},
        {"OVP lowered while on", {":VOLT:PROT:STAT 1", ":OUTP:STAT 1", ":VOLT:PROT 4"}, "1", "0", "0"},
        {"voltage raised past OVP",
         {":VOLT:PROT 6", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1", ":VOLT 6.5"},
         "1",
         "0",
         "0"},
        {"OCP below the current", {":CURR:PROT 0.4", ":CURR:PROT:STAT 1", ":OUTP:STAT 1"}, "0", "1", "0"},
        {"OCP at the current", {":CURR:PROT 0.5", ":CURR:PROT:STAT 1", ":OUTP:STAT 1"}, "0", "0", "1"},
        {"OCP switched on late", {":CURR:PROT 0.4", ":OUTP:STAT 1", ":CURR:PROT:STAT 1"}, "0", "1", "0"},
    };
    for (const Case& c : cases) {
        Instrument orx(0);
        orx.setLoadOhms(10.0);
        send(orx, {":VOLT 5", ":CURR 1"});
        for (const char* line : c.lines)
            orx.handleLine(QString::fromLatin1(line), 0);
        EXPECT_EQ(ask(orx, ":VOLT:PROT:TRIP?"), c.ovpTrip) << c.name;
        EXPECT_EQ(ask(orx, ":CURR:PROT:TRIP?"), c.ocpTrip) << c.name;
        EXPECT_EQ(ask(orx, ":OUTP:STAT?"), c.output) << c.name;
    }
}

TEST(Instrument, LoadChangeTripsTheCurrentProtection)
{
    Instrument orx(0);
    orx.setLoadOhms(100.0);
    send(orx, {":VOLT 5", ":CURR 2", ":CURR:PROT 0.5", ":CURR:PROT:STAT 1", ":OUTP:STAT 1"});
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "1");
    orx.setLoadOhms(5.0); // 1 A now
    EXPECT_TRUE(orx.tripped(Protection::Ocp));
    EXPECT_EQ(ask(orx, ":MEAS:CURR?"), "0.000");
}

TEST(Instrument, ATripStaysLatchedUntilItsOwnClear)
{
    Instrument orx(0);
    send(orx, {":VOLT 5", ":VOLT:PROT 4", ":VOLT:PROT:STAT 1", ":OUTP:STAT 1"});
    ASSERT_EQ(ask(orx, ":VOLT:PROT:TRIP?"), "1");
    send(orx, {"*CLS", ":CURR:PROT:CLE"});
    EXPECT_EQ(ask(orx, ":VOLT:PROT:TRIP?"), "1") << "neither *CLS nor the other clear releases it";
    send(orx, {":OUTP:STAT 1"});
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "0") << "the output stays off while tripped";
    EXPECT_EQ(ask(orx, "SYST:ERR?"), "-221,\"Settings conflict\"");
    send(orx, {":VOLT:PROT:CLE"});
    EXPECT_EQ(ask(orx, ":VOLT:PROT:TRIP?"), "0");
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "0") << "clearing does not switch the output on";
    send(orx, {":VOLT:PROT 6", ":OUTP:STAT 1"});
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "1");
}

TEST(Instrument, TestHooksSwitchTheOutputOffAndTrip)
{
    Instrument orx(2);
    send(orx, {":VOLT 3", ":OUTP:STAT 1"});
    orx.frontPanelOutputOff();
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "0");
    EXPECT_EQ(ask(orx, ":VOLT:PROT:TRIP?"), "0");
    send(orx, {":OUTP:STAT 1"});
    orx.forceTrip(Protection::Ocp);
    EXPECT_EQ(ask(orx, ":CURR:PROT:TRIP?"), "1");
    EXPECT_EQ(ask(orx, ":OUTP:STAT?"), "0");
}

TEST(Instrument, MemoriesKeepSettingsAndDelay)
{
    Instrument orx(0);
    send(orx, {":VOLT:RANG HIGH", ":VOLT 12.5", ":CURR 1", ":VOLT:PROT 13", ":CURR:PROT 1.1",
               ":VOLT:PROT:STAT 1", ":CURR:PROT:STAT 0", "SYST:AUTO:DEL 25", "*SAV 07"});
    send(orx, {":VOLT:RANG LOW", ":VOLT 2", ":CURR 3", ":VOLT:PROT:STAT 0", "SYST:AUTO:DEL 3", "*RCL 42"});
    const struct
    {
        const char* query;
        const char* factory; // memory 42, never saved
        const char* saved;   // memory 07
    } rows[] = {
        {":VOLT?", "0.000", "12.500"},       {":CURR?", "1.000", "1.000"},
        {":VOLT:PROT?", "22.000", "13.000"}, {":CURR:PROT?", "22.000", "1.100"},
        {":VOLT:PROT:STAT?", "0", "1"},      {":CURR:PROT:STAT?", "0", "0"},
        {"SYST:AUTO:DEL?", "10", "25"},      {":VOLT:RANG?", "LOW", "HIGH"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ask(orx, r.query), r.factory) << "factory " << r.query;
    send(orx, {"*RCL 7"});
    for (const auto& r : rows)
        EXPECT_EQ(ask(orx, r.query), r.saved) << "recalled " << r.query;
    EXPECT_EQ(ask(orx, "SYST:ERR?"), "0,\"No error\"");
}

TEST(Instrument, BadMemoryNumbersTouchNoMemory)
{
    Instrument orx(0);
    const Settings factory = orx.memory(0);
    send(orx, {":VOLT 3"});
    const struct
    {
        const char* line;
        const char* error;
    } cases[] = {
        {"*SAV 100", "-222,\"Data out of range\""}, {"*SAV -1", "-222,\"Data out of range\""},
        {"*RCL 100", "-222,\"Data out of range\""}, {"*RCL five", "-104,\"Data type error\""},
        {"*SAV 9.5", "-104,\"Data type error\""},
    };
    for (const auto& c : cases) {
        orx.handleLine(QString::fromLatin1(c.line), 0);
        EXPECT_EQ(ask(orx, "SYST:ERR?"), c.error) << c.line;
    }
    for (int m = 0; m < kMemoryCount; ++m)
        EXPECT_EQ(orx.memory(m), factory) << m;
    EXPECT_EQ(ask(orx, ":VOLT?"), "3.000");
}

TEST(Instrument, DelayIsHeldWithinItsRange)
{
    Instrument orx(0);
    const struct
    {
        const char* line;
        const char* delay;
        const char* error;
    } cases[] = {
        {"SYST:AUTO:DEL 1", "1", "0,\"No error\""},
        {"SYST:AUTO:DEL 59999", "59999", "0,\"No error\""},
        {"SYST:AUTO:DEL 0", "1", "-222,\"Data out of range\""},
        {"SYST:AUTO:DEL 70000", "59999", "-222,\"Data out of range\""},
        {"SYST:AUTO:DEL 2.5", "59999", "-104,\"Data type error\""},
    };
    for (const auto& c : cases) {
        orx.handleLine(QString::fromLatin1(c.line), 0);
        EXPECT_EQ(ask(orx, "SYST:AUTO:DEL?"), c.delay) << c.line;
        EXPECT_EQ(ask(orx, "SYST:ERR?"), c.error) << c.line;
    }
}
