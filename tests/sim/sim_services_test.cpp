#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::sim;

namespace {

// One instrument on COM3 at 2400 baud, COM1 usable and empty, COM2 and COM4 absent.
struct SerialBench : ::testing::Test
{
    ManualClock clock;
    Instrument orx{0};
    SimSerialService serial{clock};

    SerialBench()
    {
        serial.attachInstrument(3, &orx, 2400);
        serial.addEmptyPort(1);
    }

    qint64 nowMs() const { return clock.nanoseconds() / 1'000'000; }

    bool openAt(int port, const char* settings)
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

const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";

} // namespace

TEST_F(SerialBench, OnlyTheInstrumentsPortAtItsBaudAnswers)
{
    const struct
    {
        int port;
        const char* settings;
        bool opens;
        QByteArray answer;
    } cases[] = {
        {1, "9600,n,8,1", true, ""}, {1, "2400,n,8,1", true, ""},  {2, "2400,n,8,1", false, ""},
        {3, "9600,n,8,1", true, ""}, {3, "4800,n,8,1", true, ""},  {3, "2400,n,8,1", true, kIdentity},
        {3, "1200,n,8,1", true, ""}, {4, "2400,n,8,1", false, ""},
    };
    for (const auto& c : cases) {
        const QString where = QStringLiteral("COM%1 %2").arg(c.port).arg(QLatin1String(c.settings));
        ASSERT_EQ(openAt(c.port, c.settings), c.opens) << qPrintable(where);
        EXPECT_EQ(serial.isOpen(), c.opens) << qPrintable(where);
        const qint64 before = nowMs();
        EXPECT_EQ(exchange("*IDN?"), c.answer) << qPrintable(where);
        // A time-out is paid on the manual clock, an answer costs nothing.
        EXPECT_EQ(nowMs() - before, c.answer.isEmpty() ? 1000 : 0) << qPrintable(where);
    }
}

TEST_F(SerialBench, RecordsEveryCallInOrder)
{
    openAt(2, "9600,n,8,1");
    openAt(3, "2400,n,8,1");
    serial.write(":VOLT 5\r*ID");
    serial.write("N?\r");
    serial.setSettings(QStringLiteral("4800,n,8,1"));
    serial.write(":VOLT?\r");
    serial.setPortNumber(1); // lets go of the open COM3
    const QStringList log = {
        "port 2",
        "settings 9600,n,8,1",
        "open COM2 failed",
        "port 3",
        "settings 2400,n,8,1",
        "open COM3",
        "COM3 2400,n,8,1: :VOLT 5",
        "COM3 2400,n,8,1: *IDN?",
        "settings 4800,n,8,1",
        "COM3 4800,n,8,1: :VOLT?",
        "port 1",
        "close COM3",
    };
    EXPECT_EQ(serial.log(), log);
    EXPECT_EQ(serial.lines(),
              (QStringList{"COM3 2400,n,8,1: :VOLT 5", "COM3 2400,n,8,1: *IDN?", "COM3 4800,n,8,1: :VOLT?"}));
    EXPECT_EQ(serial.commands(), (QStringList{":VOLT 5", "*IDN?", ":VOLT?"}));
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(orx.active().voltage, 5000) << "the instrument acted on the line at its baud";
    serial.clearLog();
    EXPECT_TRUE(serial.log().isEmpty());
    EXPECT_TRUE(serial.commands().isEmpty());
}

TEST_F(SerialBench, Faults)
{
    const struct
    {
        const char* name;
        Fault fault;
        bool opens;
        qint64 waitedMs;
    } cases[] = {
        {"none", Fault::None, true, 0},
        {"silence", Fault::Silence, true, 1000},
        {"late", Fault::Late, true, 1000},
        {"garbage", Fault::Garbage, true, 0},
        {"unplugged", Fault::Unplugged, false, 1000},
    };
    for (const auto& c : cases) {
        serial.setFault(c.fault);
        EXPECT_EQ(openAt(3, "2400,n,8,1"), c.opens) << c.name;
        const qint64 before = nowMs();
        const QByteArray input = exchange("*IDN?");
        EXPECT_EQ(nowMs() - before, c.waitedMs) << c.name;
        switch (c.fault) {
        case Fault::None:
            EXPECT_EQ(input, kIdentity);
            break;
        case Fault::Garbage:
            ASSERT_EQ(input.size(), kIdentity.size()) << "noise of the answer's length";
            EXPECT_TRUE(input.endsWith('\n'));
            for (qsizetype i = 0; i + 1 < input.size(); ++i)
                EXPECT_GE(static_cast<unsigned char>(input[i]), 0x80) << i;
            break;
        default:
            EXPECT_TRUE(input.isEmpty()) << c.name;
        }
    }
}

TEST_F(SerialBench, LateAnswerArrivesAfterItsDelayOnTheClock)
{
    openAt(3, "2400,n,8,1");
    serial.setFault(Fault::Late);
    serial.setLateMs(1300);
    EXPECT_TRUE(exchange("*IDN?").isEmpty());
    serial.waitForInput(1000);
    EXPECT_EQ(nowMs(), 1300) << "the wait ends when the late answer arrives";
    EXPECT_EQ(serial.takeInput(), kIdentity);
}

TEST_F(SerialBench, ClosingDropsWhatIsStillOnItsWay)
{
    openAt(3, "2400,n,8,1");
    serial.setFault(Fault::Late);
    serial.write("*IDN?\r");
    serial.setOpen(false);
    serial.setOpen(true);
    serial.waitForInput(2000);
    EXPECT_TRUE(serial.takeInput().isEmpty());
}

TEST_F(SerialBench, UnpluggingAnOpenPortStopsEverything)
{
    openAt(3, "2400,n,8,1");
    serial.setFault(Fault::Unplugged);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(exchange(":VOLT 7").isEmpty());
    EXPECT_EQ(orx.active().voltage, 0) << "nothing reached the instrument";
    serial.setFault(Fault::None);
    EXPECT_EQ(exchange("*IDN?"), kIdentity) << "plugged in again";
}

TEST_F(SerialBench, InstrumentRunsOnTheServicesClock)
{
    openAt(3, "2400,n,8,1");
    for (const char* line : {":VOLT 1", "SYST:AUTO:DEL 2", "*SAV 00", ":VOLT 2", "*SAV 01",
                             "SYST:AUTO:STAR 00", "SYST:AUTO:CEAS 01", "SYST:AUTO:CYCL 1", "SYST:AUTO 1"})
        serial.write(QByteArray(line) + '\r');
    EXPECT_EQ(exchange(":VOLT?"), "1.000\n");
    clock.advanceMilliseconds(200);
    EXPECT_EQ(exchange(":VOLT?"), "2.000\n");
    serial.waitForInput(500); // nothing comes: half a second passes on the clock
    EXPECT_EQ(exchange("SYST:AUTO?"), "0\n");
}

TEST(SimGpib, AnswersAtTheAddressOfItsInstrument)
{
    ManualClock clock;
    Instrument orx(1);
    SimGpibService gpib(clock);
    gpib.attachInstrument(8, &orx);
    EXPECT_EQ(gpib.primaryAddress(), 8);
    EXPECT_TRUE(gpib.applyConfiguration());
    EXPECT_TRUE(gpib.write("*IDN?"));
    EXPECT_EQ(gpib.read(), QByteArray("QZ.Inc,ORX-B200,SN000001,1.00\n"));
    EXPECT_EQ(gpib.read(), std::nullopt) << "one answer, read once";
    EXPECT_TRUE(gpib.write(":VOLT?"));
    EXPECT_TRUE(gpib.write("*IDN?"));
    EXPECT_EQ(gpib.read(), QByteArray("QZ.Inc,ORX-B200,SN000001,1.00\n")) << "an unread answer is replaced";
    EXPECT_TRUE(gpib.setPrimaryAddress(5));
    EXPECT_FALSE(gpib.write("*IDN?")) << "nobody at 5";
    EXPECT_EQ(gpib.read(), std::nullopt);
    EXPECT_FALSE(gpib.setPrimaryAddress(31));
    EXPECT_EQ(gpib.primaryAddress(), 5);
    EXPECT_TRUE(gpib.setPrimaryAddress(8));
    EXPECT_TRUE(orx.isRemote());
    EXPECT_TRUE(gpib.goToLocal());
    EXPECT_FALSE(orx.isRemote());
    const QStringList log = {
        "apply",        "GPIB8: *IDN?", "read GPIB8", "read GPIB8 failed",   "GPIB8: :VOLT?",
        "GPIB8: *IDN?", "read GPIB8",   "address 5",  "GPIB5: *IDN? failed", "read GPIB5 failed",
        "address 31",   "address 8",    "local GPIB8"};
    EXPECT_EQ(gpib.log(), log);
    EXPECT_EQ(gpib.lines(),
              (QStringList{"GPIB8: *IDN?", "GPIB8: :VOLT?", "GPIB8: *IDN?", "GPIB5: *IDN? failed"}));
    EXPECT_EQ(gpib.commands(), (QStringList{"*IDN?", ":VOLT?", "*IDN?", "*IDN?"}));
}

TEST(SimGpib, ConfigurationFailures)
{
    Instrument orx(0);
    SimGpibService gpib;
    gpib.attachInstrument(3, &orx);
    gpib.setFailingAddress(3);
    gpib.setPrimaryAddress(3);
    EXPECT_FALSE(gpib.applyConfiguration());
    gpib.setPrimaryAddress(4);
    EXPECT_TRUE(gpib.applyConfiguration());
    gpib.setInterfaceAvailable(false);
    gpib.setPrimaryAddress(3);
    gpib.setFailingAddress(std::nullopt);
    EXPECT_FALSE(gpib.applyConfiguration());
    EXPECT_FALSE(gpib.write("*IDN?")) << "no interface, no transfer";
    EXPECT_FALSE(gpib.goToLocal());
}

TEST(SimGpib, Faults)
{
    const struct
    {
        Fault fault;
        bool writes;
        bool reads;
    } cases[] = {{Fault::Silence, true, false},
                 {Fault::Late, true, false},
                 {Fault::Garbage, true, true},
                 {Fault::Unplugged, false, false}};
    for (const auto& c : cases) {
        Instrument orx(0);
        SimGpibService gpib;
        gpib.attachInstrument(8, &orx);
        gpib.setFault(c.fault);
        EXPECT_EQ(gpib.write("*IDN?"), c.writes) << faultName(c.fault).toStdString();
        const auto answer = gpib.read();
        ASSERT_EQ(answer.has_value(), c.reads) << faultName(c.fault).toStdString();
        if (answer) {
            EXPECT_NE(*answer, QByteArray("QZ.Inc,ORX-A100,SN000001,1.00\n"));
            EXPECT_TRUE(answer->endsWith('\n'));
        }
    }
}
