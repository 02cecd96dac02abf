// The in-process serial and GPIB services: who answers where, their faults and their record of calls.

#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";

// One instrument on COM3 at 2400 baud (COM1 usable and empty, COM2 and COM4 absent) and at GPIB
// address 8.
struct SimBench : ::testing::Test
{
    ManualClock clock;
    Instrument orx{0};
    SimSerialService serial{clock};
    SimGpibService gpib{clock};

    SimBench()
    {
        serial.attachInstrument(3, &orx, 2400);
        serial.addEmptyPort(1);
        gpib.attachInstrument(8, &orx);
    }
    qint64 nowMs() const { return clock.nanoseconds() / 1'000'000; }
    bool openAt(int port, const char* settings = "2400,n,8,1")
    {
        serial.setOpen(false);
        serial.setPortNumber(port);
        serial.setSettings(QString::fromLatin1(settings));
        return serial.setOpen(true);
    }
    // Writes a query and waits at most one second for input, as the link does.
    QByteArray exchange(const char* query)
    {
        serial.write(QByteArray(query) + '\r');
        serial.waitForInput(1000);
        return serial.takeInput();
    }
};

// Noise of the answer's length: every character but the line feed has its top bit set.
void expectNoise(const QByteArray& input, const QByteArray& answer)
{
    ASSERT_EQ(input.size(), answer.size());
    EXPECT_TRUE(input.endsWith('\n'));
    for (qsizetype i = 0; i + 1 < input.size(); ++i)
        EXPECT_GE(static_cast<unsigned char>(input[i]), 0x80) << i;
}

} // namespace

// An answer costs no time on the manual clock; a time-out costs its full second.
TEST_F(SimBench, OnlyTheInstrumentsPortAtItsBaudAnswers)
{
    for (const auto& [port, settings, opens, answer] : {std::tuple{1, "9600,n,8,1", true, QByteArray()},
                                                        {1, "2400,n,8,1", true, QByteArray()},
                                                        {2, "2400,n,8,1", false, QByteArray()},
                                                        {3, "9600,n,8,1", true, QByteArray()},
                                                        {3, "4800,n,8,1", true, QByteArray()},
                                                        {3, "2400,n,8,1", true, kIdentity},
                                                        {3, "1200,n,8,1", true, QByteArray()},
                                                        {4, "2400,n,8,1", false, QByteArray()}}) {
        SCOPED_TRACE(QStringLiteral("COM%1 %2").arg(port).arg(QLatin1String(settings)).toStdString());
        ASSERT_EQ(openAt(port, settings), opens);
        const qint64 before = nowMs();
        EXPECT_EQ(exchange("*IDN?"), answer);
        EXPECT_EQ(nowMs() - before, answer.isEmpty() ? 1000 : 0);
    }
}

TEST_F(SimBench, RecordsEveryCallInOrder)
{
    openAt(2, "9600,n,8,1");
    openAt(3);
    serial.write(":VOLT 5\r*ID");
    serial.write("N?\r");
    serial.setSettings(QStringLiteral("4800,n,8,1"));
    serial.write(":VOLT?\r");
    serial.setPortNumber(1); // lets go of the open COM3
    EXPECT_EQ(serial.log(), QStringList({"port 2", "settings 9600,n,8,1", "open COM2 failed", "port 3",
                                         "settings 2400,n,8,1", "open COM3", "COM3 2400,n,8,1: :VOLT 5",
                                         "COM3 2400,n,8,1: *IDN?", "settings 4800,n,8,1",
                                         "COM3 4800,n,8,1: :VOLT?", "port 1", "close COM3"}));
    EXPECT_EQ(serial.commands(), QStringList({":VOLT 5", "*IDN?", ":VOLT?"}));
    EXPECT_FALSE(serial.isOpen());
}

// Each fault is switched on while COM3 is open: an unplugged port takes no line in and can no longer
// be opened; the others still pass lines to the instrument. GPIB reads do not wait: there a late
// answer is as good as none.
TEST_F(SimBench, Faults)
{
    for (const auto& [fault, waitedMs, answer, gpibWrites] :
         {std::tuple{Fault::None, 0, kIdentity, true},
          {Fault::Silence, 1000, QByteArray(), true},
          {Fault::Late, 1000, QByteArray(), true},
          {Fault::Garbage, 0, QByteArray(), true},
          {Fault::Unplugged, 1000, QByteArray(), false}}) {
        SCOPED_TRACE(faultName(fault).toStdString());
        ASSERT_TRUE(openAt(3));
        orx.handleLine(QStringLiteral(":VOLT 0"), 0);
        serial.setFault(fault);
        gpib.setFault(fault);
        const qint64 before = nowMs();
        const QByteArray input = exchange(":VOLT 7\r*IDN?");
        EXPECT_EQ(nowMs() - before, waitedMs);
        EXPECT_EQ(orx.active().voltage, fault == Fault::Unplugged ? 0 : 7000);
        EXPECT_EQ(openAt(3), fault != Fault::Unplugged);
        EXPECT_EQ(gpib.write("*IDN?"), gpibWrites);
        const QByteArray read = gpib.read().value_or("");
        if (fault == Fault::Garbage) {
            expectNoise(input, kIdentity);
            expectNoise(read, kIdentity);
        } else {
            EXPECT_EQ(input, answer);
            EXPECT_EQ(read, answer);
        }
    }
    serial.setFault(Fault::None);
    ASSERT_TRUE(openAt(3)) << "plugged in again";
    serial.setFault(Fault::Late);
    const qint64 asked = nowMs();
    serial.write("*IDN?\r");
    serial.waitForInput(5000);
    EXPECT_EQ(nowMs() - asked, kDefaultLateMs) << "the wait ends when the late answer arrives";
    EXPECT_EQ(serial.takeInput(), kIdentity);
    serial.write("*IDN?\r");
    openAt(3);
    serial.waitForInput(5000);
    EXPECT_TRUE(serial.takeInput().isEmpty()) << "closing drops what is still on its way";
}

TEST_F(SimBench, GpibAnswersAtTheAddressOfItsInstrument)
{
    EXPECT_TRUE(gpib.write("*IDN?"));
    EXPECT_EQ(gpib.read(), kIdentity);
    EXPECT_EQ(gpib.read(), std::nullopt) << "one answer, read once";
    EXPECT_TRUE(gpib.write(":VOLT?"));
    EXPECT_TRUE(gpib.write("*IDN?"));
    EXPECT_EQ(gpib.read(), kIdentity) << "an unread answer is replaced";
    EXPECT_TRUE(gpib.setPrimaryAddress(5));
    EXPECT_FALSE(gpib.write("*IDN?")) << "nobody at 5";
    EXPECT_FALSE(gpib.setPrimaryAddress(31));
    gpib.setPrimaryAddress(8);
    EXPECT_TRUE(orx.isRemote());
    EXPECT_TRUE(gpib.goToLocal());
    EXPECT_FALSE(orx.isRemote());
    EXPECT_EQ(gpib.log(), QStringList({"GPIB8: *IDN?", "read GPIB8", "read GPIB8 failed", "GPIB8: :VOLT?",
                                       "GPIB8: *IDN?", "read GPIB8", "address 5", "GPIB5: *IDN? failed",
                                       "address 31", "address 8", "local GPIB8"}));
}
