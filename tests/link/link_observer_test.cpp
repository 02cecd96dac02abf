// What the command link reports to its observers, and that watching changes nothing: every case runs
// watched and unwatched, and the wire, the clock and the program state must come out the same.

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
};

const struct
{
    const char* name;
    std::function<void(Rig&)> run;
    QStringList reports;
} kCases[] = {
    {"answer in pieces, one report",
     [](Rig& r) {
         r.serial.answerNextWrite("12.", 100);
         r.serial.answerNextWrite("3\r\n", 250);
         r.link.query(":MEAS?");
     },
     {"0 COM1 9600 sent :MEAS?\r", "250 COM1 9600 received 12.3\r\n"}},
    {"time-out keeps what arrived",
     [](Rig& r) {
         r.serial.answerNextWrite("12.3", 10);
         r.link.query(":MEAS?");
     },
     {"0 COM1 9600 sent :MEAS?\r", "1001 COM1 9600 timedOut 12.3"}},
    {"stale input thrown away before the command",
     [](Rig& r) {
         r.serial.setOpen(true);
         r.serial.deliverNow("late\n");
         r.serial.answerNextWrite("0\n", 5);
         r.serial.setPortNumber(3);
         r.serial.setSettings("2400,n,8,1");
         r.link.query(":VOLT?");
     },
     {"0 COM3 2400 stale late\n", "0 COM3 2400 sent :VOLT?\r", "5 COM3 2400 received 0\n"}},
    {"port that cannot be opened, at the send and at the read",
     [](Rig& r) {
         r.serial.openFails = true;
         r.link.query("*IDN?");
     },
     {"0 COM1 9600 openFailed", "0 COM1 9600 openFailed"}},
    {"GPIB query",
     [](Rig& r) {
         r.state.InterfaceMode = 0;
         r.gpib.answers.enqueue(QByteArray(" 1.2\n"));
         r.link.query(":MEAS?");
     },
     {"0 GPIB 8 sent :MEAS?", "0 GPIB 8 received  1.2\n"}},
    {"GPIB refused write and failed read",
     [](Rig& r) {
         r.state.InterfaceMode = 0;
         r.gpib.setPrimaryAddress(17);
         r.gpib.writeFails = true;
         r.gpib.answers.enqueue(std::nullopt);
         r.link.query("*IDN?");
     },
     {"0 GPIB 17 writeFailed *IDN?", "0 GPIB 17 readFailed"}},
    {"a connect start resets the time count",
     [](Rig& r) {
         r.clock.advanceMilliseconds(5000);
         r.link.noteConnectStarted();
         r.clock.advanceMilliseconds(20);
         r.link.SendCommand("*CLS");
     },
     {"0 COM1 9600 connectStarted", "20 COM1 9600 sent *CLS\r"}},
};

} // namespace

TEST(LinkObserver, ReportsEachExchangeOnceAndWatchingChangesNothing)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig plain(false);
        Rig watched(true);
        c.run(plain);
        c.run(watched);
        EXPECT_EQ(watched.observer.events, c.reports);
        EXPECT_EQ(watched.serial.events, plain.serial.events);
        EXPECT_EQ(std::pair(watched.serial.takes, watched.serial.waits),
                  std::pair(plain.serial.takes, plain.serial.waits));
        EXPECT_EQ(watched.gpib.calls, plain.gpib.calls);
        EXPECT_EQ(watched.clock.nanoseconds(), plain.clock.nanoseconds());
        EXPECT_EQ(watched.state.LinkError, plain.state.LinkError);
        EXPECT_EQ(watched.state.ResponseBuffer.text(), plain.state.ResponseBuffer.text());
        EXPECT_EQ(watched.dialogs.messages, plain.dialogs.messages);
        EXPECT_EQ(watched.status.writes, plain.status.writes);
    }
}

TEST(LinkObserver, AddedTwiceReportsOnceRemovedReportsNothingAndTellsTheWallClock)
{
    Rig rig(true);
    rig.clock.setWallStart(1'700'000'000'000);
    rig.link.addObserver(&rig.observer);
    rig.serial.answerNextWrite("1\n", 40);
    rig.link.query(":OUTP:STAT?");
    EXPECT_EQ(rig.observer.wallMs, QList<qint64>({1'700'000'000'000, 1'700'000'000'040}));
    rig.link.removeObserver(&rig.observer);
    rig.link.SendCommand("*CLS");
    EXPECT_EQ(rig.observer.events.size(), 2);
}
