// What the command link reports to its observers, and that watching it changes nothing: every case
// runs twice, once watched and once not, and the wire, the clock and the program state must match.

#include "support/link_rig.h"
#include "support/recording_link_observer.h"

#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

struct Rig : LinkRig
{
    RecordingLinkObserver observer;

    explicit Rig(bool watched)
    {
        if (watched)
            link.addObserver(&observer);
    }
    void query(const char* command) { link.query(QString::fromLatin1(command)); }
};

struct ObservedCase
{
    const char* name;
    std::function<void(Rig&)> run;
    QStringList reports;
};

const ObservedCase kCases[] = {
    {"answered serial query",
     [](Rig& r) {
         r.serial.answerNextWrite("QZ.Inc,ORX-A100\r\n", 250);
         r.query("*IDN?");
     },
     {"0 COM1 9600 sent *IDN?\r", "250 COM1 9600 received QZ.Inc,ORX-A100\r\n"}},
    {"answer in pieces is one report",
     [](Rig& r) {
         r.serial.answerNextWrite("12.", 100);
         r.serial.answerNextWrite("345\n", 400);
         r.query(":MEAS?");
     },
     {"0 COM1 9600 sent :MEAS?\r", "400 COM1 9600 received 12.345\n"}},
    {"time-out keeps what arrived",
     [](Rig& r) {
         r.state.ConnectStarted = 1;
         r.serial.answerNextWrite("12.3", 10);
         r.query(":MEAS?");
     },
     {"0 COM1 9600 sent :MEAS?\r", "1001 COM1 9600 timedOut 12.3"}},
    {"time-out with nothing, reported before the first connect",
     [](Rig& r) { r.query(":MEAS?"); },
     {"0 COM1 9600 sent :MEAS?\r", "1001 COM1 9600 timedOut"}},
    {"stale input thrown away before the command",
     [](Rig& r) {
         r.serial.setOpen(true);
         r.serial.deliverNow("late\n");
         r.serial.answerNextWrite("fresh\n");
         r.query(":VOLT?");
     },
     {"0 COM1 9600 staleInputDiscarded late\n", "0 COM1 9600 sent :VOLT?\r", "0 COM1 9600 received fresh\n"}},
    {"port that cannot be opened, at the send and at the read",
     [](Rig& r) {
         r.serial.openFails = true;
         r.query("*IDN?");
     },
     {"0 COM1 9600 openFailed", "0 COM1 9600 openFailed"}},
    {"port and baud rate as the serial service holds them",
     [](Rig& r) {
         r.serial.setPortNumber(3);
         r.serial.setSettings(QStringLiteral("2400,n,8,1"));
         r.serial.answerNextWrite("0\n", 5);
         r.query(":OUTP:STAT?");
     },
     {"0 COM3 2400 sent :OUTP:STAT?\r", "5 COM3 2400 received 0\n"}},
    {"GPIB query",
     [](Rig& r) {
         r.state.InterfaceMode = 0;
         r.gpib.answers.enqueue(QByteArray(" 1.234\n"));
         r.query(":MEAS?");
     },
     {"0 GPIB 8 sent :MEAS?", "0 GPIB 8 received  1.234\n"}},
    {"GPIB refused write and failed read",
     [](Rig& r) {
         r.state.InterfaceMode = 0;
         r.gpib.setPrimaryAddress(17);
         r.gpib.writeFails = true;
         r.gpib.answers.enqueue(std::nullopt);
         r.query("*IDN?");
     },
     {"0 GPIB 17 gpibWriteFailed *IDN?", "0 GPIB 17 gpibReadFailed"}},
    {"a connect start resets the time count",
     [](Rig& r) {
         r.clock.advanceMilliseconds(5000);
         r.link.noteConnectStarted();
         r.clock.advanceMilliseconds(20);
         r.link.SendCommand(QStringLiteral("*CLS"));
     },
     {"0 COM1 9600 connectStarted", "20 COM1 9600 sent *CLS\r"}},
};

} // namespace

TEST(LinkObserver, ReportsEachExchangeOnce)
{
    for (const ObservedCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig rig(true);
        c.run(rig);
        EXPECT_EQ(rig.observer.events, c.reports);
    }
}

TEST(LinkObserver, WatchingChangesNothingOnTheWireOrInTheState)
{
    for (const ObservedCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig plain(false);
        Rig watched(true);
        c.run(plain);
        c.run(watched);
        EXPECT_EQ(watched.serial.events, plain.serial.events);
        EXPECT_EQ(watched.serial.takes, plain.serial.takes);
        EXPECT_EQ(watched.serial.waits, plain.serial.waits);
        EXPECT_EQ(watched.gpib.calls, plain.gpib.calls);
        EXPECT_EQ(watched.clock.nanoseconds(), plain.clock.nanoseconds());
        EXPECT_EQ(watched.state.LinkError, plain.state.LinkError);
        EXPECT_EQ(watched.state.ResponseBuffer.text(), plain.state.ResponseBuffer.text());
        EXPECT_EQ(watched.dialogs.messages, plain.dialogs.messages);
        EXPECT_EQ(watched.status.writes, plain.status.writes);
    }
}

TEST(LinkObserver, AddedTwiceReportsOnceAndRemovedReportsNothing)
{
    Rig rig(true);
    rig.clock.setWallStart(1'700'000'000'000);
    RecordingLinkObserver second;
    rig.link.addObserver(&rig.observer);
    rig.link.addObserver(&second);
    rig.serial.answerNextWrite("1\n", 40);
    rig.query(":OUTP:STAT?");
    EXPECT_EQ(rig.observer.events.size(), 2);
    EXPECT_EQ(second.events, rig.observer.events);
    EXPECT_EQ(rig.observer.wallMs, QList<qint64>({1'700'000'000'000, 1'700'000'000'040}));

    rig.link.removeObserver(&rig.observer);
    rig.link.SendCommand(QStringLiteral("*CLS"));
    EXPECT_EQ(rig.observer.events.size(), 2);
    EXPECT_EQ(second.events.size(), 3);
}
