// The in-process serial and GPIB services: who answers where, their faults and their record of calls.

#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";

// Noise in place of the identity: as long, and every byte but the closing line feed has its top bit set.
bool isNoise(const QByteArray& input)
{
    return input.size() == kIdentity.size() && input.endsWith('\n') &&
           std::all_of(input.begin(), input.end() - 1, [](char c) { return (c & 0x80) != 0; });
}

// One instrument on COM3 at 2400 baud, the only port there is, and at GPIB address 8.
struct SimBench : ::testing::Test
{
    ManualClock clock;
    Instrument orx{0};
    SimSerialService serial{clock};
    SimGpibService gpib{clock};
    qint64 waitedMs = 0; // what the last exchange cost on the manual clock

    SimBench()
    {
        serial.attachInstrument(3, &orx, 2400);
        gpib.attachInstrument(8, &orx);
    }
    bool openAt(int port, int baud = 2400)
    {
        serial.setOpen(false);
        serial.setPortNumber(port);
        serial.setSettings(QStringLiteral("%1,n,8,1").arg(baud));
        return serial.setOpen(true);
    }
    // Writes a query and waits for input at most `patienceMs` (the link waits one second).
    QByteArray exchange(const char* query, int patienceMs = 1000)
    {
        const qint64 before = clock.nanoseconds();
        serial.write(QByteArray(query) + '\r');
        serial.waitForInput(patienceMs);
        waitedMs = (clock.nanoseconds() - before) / 1'000'000;
        return serial.takeInput();
    }
};

} // namespace

// Only the instrument's port at its baud rate answers. Every call is recorded in order, a line written
// in pieces as one.
TEST_F(SimBench, AnswersAtTheInstrumentsPortAndBaudOnlyAndRecordsEveryCall)
{
    EXPECT_FALSE(openAt(2, 9600));
    ASSERT_TRUE(openAt(3));
    serial.write(":VOLT 5\r*ID");
    EXPECT_EQ(exchange("N?"), kIdentity);
    serial.setSettings(QStringLiteral("4800,n,8,1"));
    EXPECT_EQ(exchange(":VOLT?"), "");
    serial.setPortNumber(1); // lets go of the open COM3
    EXPECT_EQ(serial.log(), QStringList({"port 2", "settings 9600,n,8,1", "open COM2 failed", "port 3",
                                         "settings 2400,n,8,1", "open COM3", "COM3 2400,n,8,1: :VOLT 5",
                                         "COM3 2400,n,8,1: *IDN?", "settings 4800,n,8,1",
                                         "COM3 4800,n,8,1: :VOLT?", "port 1", "close COM3"}));
}

// Each fault is switched on while COM3 is open. An answer costs no time on the manual clock, a time-out
// its full second. An unplugged port takes no line in and can no longer be opened; the others still
// pass lines to the instrument. GPIB reads do not wait: there a late answer is as good as none.
TEST_F(SimBench, Faults)
{
    for (const Fault fault : {Fault::None, Fault::Silence, Fault::Late, Fault::Garbage, Fault::Unplugged}) {
        SCOPED_TRACE(faultName(fault).toStdString());
        ASSERT_TRUE(openAt(3));
        orx.handleLine(QStringLiteral(":VOLT 0"), 0);
        serial.setFault(fault);
        gpib.setFault(fault);
        const QByteArray input = exchange(":VOLT 7\r*IDN?");
        EXPECT_EQ(waitedMs, fault == Fault::None || fault == Fault::Garbage ? 0 : 1000);
        EXPECT_EQ(orx.active().voltage, fault == Fault::Unplugged ? 0 : 7000);
        EXPECT_EQ(openAt(3), fault != Fault::Unplugged);
        EXPECT_EQ(gpib.write("*IDN?"), fault != Fault::Unplugged);
        const QByteArray read = gpib.read().value_or("");
        if (fault == Fault::Garbage)
            EXPECT_TRUE(isNoise(input) && isNoise(read));
        else
            EXPECT_EQ(std::pair(input, read), (fault == Fault::None ? std::pair(kIdentity, kIdentity)
                                                                    : std::pair<QByteArray, QByteArray>()));
    }
    serial.setFault(Fault::None);
    ASSERT_TRUE(openAt(3)) << "plugged in again";
    serial.setFault(Fault::Late);
    EXPECT_EQ(exchange("*IDN?", 5000), kIdentity);
    EXPECT_EQ(waitedMs, kDefaultLateMs) << "the wait ends when the late answer arrives";
    serial.write("*IDN?\r");
    openAt(3);
    serial.waitForInput(5000);
    EXPECT_TRUE(serial.takeInput().isEmpty()) << "closing drops what is still on its way";
}

// One answer per message, read once; a new message drops an answer nobody read. An address beyond 30
// is refused and leaves the address as it was.
TEST_F(SimBench, GpibHoldsOneAnswerAtATime)
{
    gpib.write("*IDN?");
    EXPECT_EQ(gpib.read(), kIdentity);
    EXPECT_EQ(gpib.read(), std::nullopt);
    gpib.write(":VOLT?");
    gpib.write(":VOLT 5");
    EXPECT_EQ(gpib.read(), std::nullopt);
    EXPECT_FALSE(gpib.setPrimaryAddress(31));
    EXPECT_TRUE(orx.isRemote());
    EXPECT_TRUE(gpib.goToLocal());
    EXPECT_FALSE(orx.isRemote());
    EXPECT_EQ(gpib.log(), QStringList({"GPIB8: *IDN?", "read GPIB8", "read GPIB8 failed", "GPIB8: :VOLT?",
                                       "GPIB8: :VOLT 5", "read GPIB8 failed", "address 31", "local GPIB8"}));
}
