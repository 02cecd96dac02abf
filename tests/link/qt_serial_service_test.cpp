// The serial service against a pseudo-terminal made by the test: the test holds the master side and
// plays the instrument; the service opens the slave through ORX_COM2. No other device is ever opened.

#include "link/qt_serial_service.h"

#include "env_guard.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace orx;
using orx::test::EnvGuard;

namespace {

constexpr int kPtyPort = 2;
// Bounds on how long a test waits for bytes to cross the pty; none of them is asserted as a time.
constexpr int kPatienceMs = 5000;

QByteArray everyByteValue()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    return bytes;
}

struct SerialPtyTest : ::testing::Test
{
    // Every COM port maps to nothing unless a test says otherwise, so no real port can be reached.
    EnvGuard com1{"ORX_COM1", QByteArray()};
    EnvGuard com2{"ORX_COM2", QByteArray()};
    EnvGuard com3{"ORX_COM3", QByteArray()};
    EnvGuard com4{"ORX_COM4", QByteArray()};
    int master = -1;
    QByteArray ptsPath;
    QtSerialService service;

    void SetUp() override
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        ptsPath = ptsname(master);
        qputenv("ORX_COM2", ptsPath);
        service.setPortNumber(kPtyPort);
    }

    void TearDown() override
    {
        service.setOpen(false);
        closeMaster();
    }

    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    termios deviceTermios() const
    {
        termios tio{};
        EXPECT_EQ(tcgetattr(master, &tio), 0); // on a master this reads the slave's settings
        return tio;
    }

    QByteArray readMaster(qsizetype count) const
    {
        QByteArray received;
        QElapsedTimer patience;
        patience.start();
        while (received.size() < count && patience.elapsed() < kPatienceMs) {
            pollfd fd{master, POLLIN, 0};
            if (::poll(&fd, 1, 100) <= 0)
                continue;
            char chunk[512];
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n > 0)
                received.append(chunk, n);
        }
        return received;
    }

    void writeMaster(const QByteArray& bytes) const
    {
        ASSERT_EQ(::write(master, bytes.constData(), bytes.size()), bytes.size());
    }
};

struct SpeedCase
{
    const char* settings;
    speed_t speed;
    bool twoStopBits;
};

} // namespace

TEST_F(SerialPtyTest, OpenFailsWithoutAUsableDevice)
{
    struct Case
    {
        const char* name;
        int port;
        QByteArray mapping;
    } const cases[] = {
        {"empty mapping", 2, ""},
        {"missing device", 2, "/nonexistent-orx-dir/ttyUSB9"},
        {"port without mapping", 3, "unused"},
        {"port number 0", 0, "unused"},
        {"port number 5", 5, "unused"},
    };
    for (const auto& c : cases) {
        const EnvGuard mapping("ORX_COM2", c.mapping);
        service.setPortNumber(c.port);
        EXPECT_FALSE(service.setOpen(true)) << c.name;
        EXPECT_FALSE(service.isOpen()) << c.name;
    }
}

TEST_F(SerialPtyTest, SettingsReachTheDeviceAtOpenAndWhileOpen)
{
    service.setSettings(QStringLiteral("4800,n,8,1"));
    ASSERT_TRUE(service.setOpen(true));
    const SpeedCase cases[] = {
        {"4800,n,8,1", B4800, false},
        {"1200,n,8,2", B1200, true},
        {"2400,n,8,1", B2400, false},
        {"9600,n,8,1", B9600, false},
    };
    for (const auto& c : cases) {
        service.setSettings(QString::fromLatin1(c.settings));
        EXPECT_EQ(service.settings(), QString::fromLatin1(c.settings));
        const termios tio = deviceTermios();
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << c.settings;
        EXPECT_EQ(cfgetispeed(&tio), c.speed) << c.settings;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.settings;
    }
}

TEST_F(SerialPtyTest, UnreadableSettingsKeepThePreviousOnes)
{
    service.setSettings(QStringLiteral("2400,n,8,1"));
    ASSERT_TRUE(service.setOpen(true));
    for (const char* text : {"", "fast,n,8,1", "9600,n,8", "9600,q,8,1"}) {
        service.setSettings(QString::fromLatin1(text));
        EXPECT_EQ(service.settings(), QStringLiteral("2400,n,8,1")) << text;
        const termios tio = deviceTermios();
        EXPECT_EQ(cfgetospeed(&tio), B2400) << text;
    }
}

// Every byte value passes unchanged both ways: no handshaking characters, no line-ending translation,
// no signal characters.
TEST_F(SerialPtyTest, WrittenBytesArriveUnchanged)
{
    ASSERT_TRUE(service.setOpen(true));
    const QByteArray text = QByteArray(":VOLT 12.345\r") + everyByteValue();
    service.write(text);
    EXPECT_EQ(readMaster(text.size()), text);
}

TEST_F(SerialPtyTest, ReceivedBytesComeOutOfTakeInputAfterWaiting)
{
    ASSERT_TRUE(service.setOpen(true));
    const QByteArray sent = everyByteValue() + QByteArray("1.234\n");
    writeMaster(sent);
    QByteArray received;
    for (int round = 0; round < 50 && received.size() < sent.size(); ++round) {
        service.waitForInput(100);
        received += service.takeInput();
    }
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(service.takeInput().isEmpty()) << "taking input empties the buffer";
}

// The link discards a late answer with takeInput before it writes; that only works when takeInput
// returns what reached the driver, even though nobody waited on the port.
TEST_F(SerialPtyTest, TakeInputReturnsWhatArrivedWithoutAWait)
{
    ASSERT_TRUE(service.setOpen(true));
    writeMaster("late answer\n");
    QByteArray received;
    for (int round = 0; round < 100 && received.size() < 12; ++round) {
        QThread::msleep(20);
        received += service.takeInput();
    }
    EXPECT_EQ(received, QByteArray("late answer\n"));
}

TEST_F(SerialPtyTest, ChangingThePortNumberClosesTheOpenPort)
{
    ASSERT_TRUE(service.setOpen(true));
    service.setPortNumber(kPtyPort);
    EXPECT_TRUE(service.isOpen()) << "the same number keeps the port open";
    service.setPortNumber(3);
    EXPECT_FALSE(service.isOpen());
    EXPECT_EQ(service.portNumber(), 3);
}

TEST_F(SerialPtyTest, ClosedPortWaitsOutTheTime)
{
    EXPECT_FALSE(service.isOpen());
    QElapsedTimer timer;
    timer.start();
    service.waitForInput(200);
    EXPECT_GE(timer.elapsed(), 150) << "a closed port must not return at once";
    EXPECT_TRUE(service.takeInput().isEmpty());
}

TEST_F(SerialPtyTest, VanishedDeviceNeitherCrashesNorSpinsAndCannotBeReopened)
{
    ASSERT_TRUE(service.setOpen(true));
    closeMaster(); // the adapter is unplugged

    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        service.waitForInput(200);
        EXPECT_GE(timer.elapsed(), 150) << "round " << round << ": a vanished device must not return at once";
        EXPECT_TRUE(service.takeInput().isEmpty());
        service.write("*IDN?\r");
    }

    // The link gives up and closes the port; the device is gone, so it stays closed.
    EXPECT_TRUE(service.setOpen(false));
    EXPECT_FALSE(service.isOpen());
    if (QFileInfo::exists(QString::fromLocal8Bit(ptsPath)))
        GTEST_SKIP() << "another program took " << ptsPath.constData() << " meanwhile";
    EXPECT_FALSE(service.setOpen(true));
    EXPECT_FALSE(service.isOpen());
}
