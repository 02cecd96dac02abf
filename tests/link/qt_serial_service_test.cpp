// The serial service against a pseudo-terminal made by the test: the test holds the master side and
// plays the instrument; the service opens the slave as COM2. No other device is ever opened.

#include "link/qt_serial_service.h"

#include <chrono>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace orx;
using Line = std::pair<speed_t, bool>; // the device's speed, and whether it sends two stop bits

namespace {

struct SerialPtyTest : ::testing::Test
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    QtSerialService service;

    // Every port but COM2 maps to nothing, so no real port can be reached.
    void SetUp() override
    {
        for (const char* name : {"ORX_COM1", "ORX_COM2", "ORX_COM3", "ORX_COM4"})
            qputenv(name, "");
        ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        qputenv("ORX_COM2", ptsname(master));
        service.setPortNumber(2);
    }
    void TearDown() override { ::close(master); } // harmless on -1, after an unplug

    Line deviceLine() const
    {
        termios tio{};
        EXPECT_EQ(tcgetattr(master, &tio), 0); // on a master this reads the slave's settings
        EXPECT_EQ(cfgetispeed(&tio), cfgetospeed(&tio));
        return {cfgetospeed(&tio), (tio.c_cflag & CSTOPB) != 0};
    }

    // A closed port, or one whose device vanished, must not return at once: a caller loops on it.
    void expectWaitsOutTheTime(const char* what)
    {
        const auto start = std::chrono::steady_clock::now();
        service.waitForInput(200);
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150)) << what;
        EXPECT_TRUE(service.takeInput().isEmpty()) << what;
    }
};

} // namespace

TEST_F(SerialPtyTest, ANewPortNumberClosesThePortAndAMissingDeviceDoesNotOpen)
{
    ASSERT_TRUE(service.setOpen(true));
    service.setPortNumber(2);
    EXPECT_TRUE(service.isOpen()) << "the same number keeps the port open";
    service.setPortNumber(3);
    EXPECT_FALSE(service.isOpen());
    qputenv("ORX_COM3", "/nonexistent-orx-dir/ttyUSB9");
    EXPECT_FALSE(service.setOpen(true)) << "a device that is not there";
    EXPECT_FALSE(service.isOpen());
}

// Settings held while closed reach the device at open, later ones at once; a text that cannot be read,
// even one with a readable speed, changes nothing.
TEST_F(SerialPtyTest, SettingsReachTheDeviceAndUnreadableOnesChangeNothing)
{
    service.setSettings(QStringLiteral("4800,n,8,2"));
    ASSERT_TRUE(service.setOpen(true));
    EXPECT_EQ(deviceLine(), Line(B4800, true)) << "at open";
    service.setSettings(QStringLiteral("9600,n,8,1"));
    EXPECT_EQ(deviceLine(), Line(B9600, false)) << "while open";
    for (const char* text : {"", "1200,q,8,1", "1200,n,8"}) {
        service.setSettings(QString::fromLatin1(text));
        EXPECT_EQ(service.settings(), QStringLiteral("9600,n,8,1")) << text;
        EXPECT_EQ(deviceLine(), Line(B9600, false)) << text;
    }
}

// Every byte value passes unchanged both ways (no handshaking, line-ending or signal characters), and
// input comes out of takeInput with or without waitForInput: the link discards a late answer with
// takeInput before it writes, so takeInput must return what reached the driver though nobody waited.
TEST_F(SerialPtyTest, BytesCrossUnchangedBothWays)
{
    ASSERT_TRUE(service.setOpen(true));
    QByteArray text(256, '\0');
    for (int i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(i);
    service.write(text);
    QByteArray sent(text.size(), '\0');
    for (qsizetype n = 0, round = 0; n < sent.size() && round < 50; ++round) {
        pollfd fd{master, POLLIN, 0};
        if (::poll(&fd, 1, 100) > 0)
            n += std::max<ssize_t>(::read(master, sent.data() + n, sent.size() - n), 0);
    }
    EXPECT_EQ(sent, text);

    for (const bool wait : {true, false}) {
        ASSERT_EQ(::write(master, text.constData(), text.size()), text.size());
        QByteArray received;
        for (int round = 0; round < 100 && received.size() < text.size(); ++round) {
            wait ? service.waitForInput(50) : void(::usleep(50 * 1000));
            received += service.takeInput();
        }
        EXPECT_EQ(received, text) << "wait " << wait;
        EXPECT_TRUE(service.takeInput().isEmpty()) << "taking input empties the buffer";
    }
}

// (That a device which is not there does not open is the first test's.)
TEST_F(SerialPtyTest, VanishedDeviceNeitherCrashesNorSpinsAndClosesThePort)
{
    expectWaitsOutTheTime("a port never opened");
    ASSERT_TRUE(service.setOpen(true));
    ::close(std::exchange(master, -1)); // the adapter is unplugged
    expectWaitsOutTheTime("a vanished device");
    service.write("*IDN?\r");
    expectWaitsOutTheTime("a vanished device after a write");
    EXPECT_TRUE(service.setOpen(false)); // the link gives up and closes the port
    EXPECT_FALSE(service.isOpen());
}
