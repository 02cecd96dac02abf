// The line between a client and the virtual instrument, and the in-process serial and GPIB services:
// who answers where, their record of calls, and faults and waiting on the manual clock.

#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"
#include "sim/wire_model.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

constexpr qint64 kMs = 1'000'000;
const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";
const QByteArray kNoise = QByteArray(kIdentity.size() - 1, '~') + '\n'; // the identity garbled
const QByteArray kPad(WireModel::kMaxLineLength - 7, ' ');              // with ":VOLT 5", a longest line

// Noise (bytes with the top bit set) shown as '~'.
QByteArray shape(QByteArray bytes)
{
    for (char& c : bytes)
        c = (c & 0x80) ? '~' : c;
    return bytes;
}

} // namespace

// Pieces written at 0, the output taken whenever nextDue() says. Framing (CR or LF ends a line, empty
// ones vanish, a longest line is kept, a longer one dropped to its end), the baud check and each fault
// (answers 300 ms late, babble 20 characters every 20 ms); then paced (10 bits a character).
TEST(WireModel, FramesJudgesShapesAndPaces)
{
    using F = Fault;
    const int baud = 10'000; // a character a millisecond
    const qint64 answer = kIdentity.size() * kMs, late = 300 * kMs;
    const struct
    {
        const char* name;
        Fault fault;
        bool paced;
        QByteArrayList pieces;
        std::pair<QByteArray, qint64> out;
        int lagMs = 0;
        QByteArray unasked = {}; // sent at 0
        int clientBaud = baud;
    } cases[] = {
        {"CR or LF", F::None, false, {":VOLT 5\r\n:VO", "LT?\n\r\r"}, {"5.000\n", 0}},
        {"over-long", F::None, false, {kPad + ":VOLT 5\r" + kPad + " :VOLT 7\r:VOLT?\r"}, {"5.000\n", 0}},
        {"another baud", F::None, false, {"*IDN?\r"}, {"", -1}, 0, {}, 9600},
        {"silence", F::Silence, false, {"*IDN?\r"}, {"", -1}},
        {"late", F::Late, false, {"*IDN?\r"}, {kIdentity, late}},
        {"garbage", F::Garbage, false, {"*IDN?\r"}, {kNoise, 0}},
        {"babble", F::Babble, false, {"*IDN?\r"}, {QByteArray(51 * 20, '~'), 1000 * kMs}},
        {"unplugged", F::Unplugged, false, {"*IDN?\r"}, {"", -1}},
        {"lagged once", F::None, false, {"*IDN?\r:VOLT?\r"}, {"0.000\n" + kIdentity, 200 * kMs}, 200},
        {"paced", F::None, true, {"*ID", "N?\r"}, {kIdentity, 6 * kMs + answer}},
        {"unasked", F::None, true, {"*IDN?\r"}, {"9.9999\n" + kIdentity, 7 * kMs + answer}, 0, "9.9999\n"},
        {"paced, late", F::Late, true, {"*IDN?\r"}, {kIdentity, 6 * kMs + late + answer}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Instrument orx(0);
        WireModel wire(&orx, baud, c.paced);
        wire.setFault(c.fault);
        wire.setLateMs(300);
        wire.lagNextAnswer(c.lagMs);
        wire.sendUnasked(c.unasked, 0);
        for (const QByteArray& piece : c.pieces)
            wire.receive(piece, c.clientBaud, 0);
        std::pair<QByteArray, qint64> out{"", -1}; // what came out by 1 s, and when its last byte did
        for (auto now = wire.nextDue(); now && *now <= 1000 * kMs; now = wire.nextDue())
            for (const char c : shape(wire.takeDue(*now)))
                out = {out.first + c, *now};
        EXPECT_EQ(out, c.out);
    }
}

// Only the instrument's port at its baud rate answers, at once; a time-out costs its full wait, and a
// late answer ends the wait when it comes. Closing drops what is on its way; an unplugged port passes
// nothing on and cannot be opened. Every call is recorded in order, a line written in pieces as one.
TEST(SimSerialService, AnswersAtTheInstrumentsPortAndBaudOnlyAndRecordsEveryCall)
{
    ManualClock clock;
    Instrument orx(0);
    SimSerialService serial(clock);
    serial.attachInstrument(3, &orx, 2400); // the only port there is
    const auto openAt = [&](int port, int baud = 2400) {
        serial.setOpen(false);
        serial.setPortNumber(port);
        serial.setSettings(QStringLiteral("%1,n,8,1").arg(baud));
        return serial.setOpen(true);
    };
    // Writes a query and waits at most `patienceMs`: what came, and what the wait cost on the clock.
    const auto exchange = [&](const char* query, int patienceMs = 1000) {
        const qint64 before = clock.nanoseconds();
        serial.write(QByteArray(query) + '\r');
        serial.waitForInput(patienceMs);
        return std::pair(serial.takeInput(), (clock.nanoseconds() - before) / kMs);
    };
    EXPECT_FALSE(openAt(2, 9600));
    ASSERT_TRUE(openAt(3));
    serial.write(":VOLT 5\r*ID");
    EXPECT_EQ(exchange("N?"), std::pair(kIdentity, qint64(0)));
    serial.setSettings(QStringLiteral("4800,n,8,1"));
    EXPECT_EQ(exchange(":VOLT?"), std::pair(QByteArray(), qint64(1000)));
    serial.setPortNumber(1); // lets go of the open COM3
    EXPECT_EQ(serial.log(), QStringList({"port 2", "settings 9600,n,8,1", "open COM2 failed", "port 3",
                                         "settings 2400,n,8,1", "open COM3", "COM3 2400,n,8,1: :VOLT 5",
                                         "COM3 2400,n,8,1: *IDN?", "settings 4800,n,8,1",
                                         "COM3 4800,n,8,1: :VOLT?", "port 1", "close COM3"}));
    ASSERT_TRUE(openAt(3));
    serial.setFault(Fault::Late);
    EXPECT_EQ(exchange("*IDN?"), std::pair(QByteArray(), qint64(1000)));
    EXPECT_EQ(exchange(":VOLT?", 5000), std::pair(kIdentity, qint64(kDefaultLateMs - 1000)));
    ASSERT_TRUE(openAt(3));
    EXPECT_EQ(exchange("", 5000).first, "") << "the answer to :VOLT? went with the close";
    serial.setFault(Fault::Unplugged);
    EXPECT_EQ(exchange(":VOLT 7"), std::pair(QByteArray(), qint64(1000)));
    EXPECT_EQ(orx.active().voltage, 5000);
    EXPECT_FALSE(openAt(3));
}

// One answer per message, read once; a new message drops an answer nobody read. An address beyond 30
// is refused and leaves the address as it was. A read never waits, so a late answer is as good as none.
TEST(SimGpibService, HoldsOneAnswerAtATime)
{
    Instrument orx(0);
    SimGpibService gpib;
    gpib.attachInstrument(8, &orx);
    gpib.write("*IDN?");
    EXPECT_EQ(gpib.read(), kIdentity);
    EXPECT_EQ(gpib.read(), std::nullopt);
    gpib.write(":VOLT?");
    gpib.write(":VOLT 5");
    EXPECT_EQ(gpib.read(), std::nullopt);
    EXPECT_FALSE(gpib.setPrimaryAddress(31));
    EXPECT_TRUE(gpib.goToLocal());
    EXPECT_FALSE(orx.isRemote());
    EXPECT_EQ(gpib.log(), QStringList({"GPIB8: *IDN?", "read GPIB8", "read GPIB8 failed", "GPIB8: :VOLT?",
                                       "GPIB8: :VOLT 5", "read GPIB8 failed", "address 31", "local GPIB8"}));
    for (const auto& [fault, read] :
         {std::pair{Fault::Silence, ""}, {Fault::Late, ""}, {Fault::Garbage, kNoise}}) {
        gpib.setFault(fault);
        EXPECT_TRUE(gpib.write("*IDN?"));
        EXPECT_EQ(shape(gpib.read().value_or("")), read);
    }
    gpib.setFault(Fault::Unplugged);
    EXPECT_FALSE(gpib.write(":VOLT 7"));
    EXPECT_EQ(orx.active().voltage, 5000);
}
