#include "sim/pty_server.h"

#include "raw_client.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace orx::sim;
using orx::test::kPatienceMs;
using orx::test::RawClient;

namespace {

// Waits until the server has taken in `count` lines, so that the client may change its speed
// without racing the server's look at it.
bool waitForLines(const PtyServer& server, qint64 count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (server.linesReceived() < count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

PtyOptions optionsAt(int baud)
{
    PtyOptions o;
    o.baud = baud;
    return o;
}

} // namespace

TEST(PtyServer, AnswersAtItsOwnBaudRate)
{
    const struct
    {
        int baud;
        int model;
        const char* identity;
    } cases[] = {{9600, 0, "QZ.Inc,ORX-A100,SN000001,1.00\n"},
                 {4800, 1, "QZ.Inc,ORX-B200,SN000001,1.00\n"},
                 {2400, 2, "QZ.Inc,ORX-C300,SN000001,1.00\n"},
                 {1200, 0, "QZ.Inc,ORX-A100,SN000001,1.00\n"}};
    for (const auto& c : cases) {
        PtyOptions options = optionsAt(c.baud);
        options.modelIndex = c.model;
        PtyServer server(options);
        QString error;
        ASSERT_TRUE(server.start(&error)) << qPrintable(error);
        RawClient client(server.devicePath(), c.baud);
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.send("*IDN?\r"));
        EXPECT_EQ(client.readLine(), c.identity) << c.baud;
        ASSERT_TRUE(client.send(":VOLT 2.5\n:VOLT?\n")); // LF ends a line as well
        EXPECT_EQ(client.readLine(), "2.500\n") << c.baud;
    }
}

// Paced, the answers trickle out a character at a time: they must still arrive whole and in order.
// (How long they take is the benchmark's business, not a test's.)
TEST(PtyServer, PacedAnswersArriveWholeAndInOrder)
{
    PtyOptions options = optionsAt(9600);
    options.paced = true;
    PtyServer server(options);
    ASSERT_TRUE(server.start());
    RawClient client(server.devicePath(), 9600);
    ASSERT_TRUE(client.send("*IDN?\r:VOLT 1.5\r:VOLT?\r:CURR?\r"));
    EXPECT_EQ(client.readLine(), "QZ.Inc,ORX-A100,SN000001,1.00\n");
    EXPECT_EQ(client.readLine(), "1.500\n");
    EXPECT_EQ(client.readLine(), "1.000\n");
}

TEST(PtyServer, EachLineIsJudgedAtTheClientsBaudRateOfTheMoment)
{
    PtyServer server(optionsAt(2400));
    ASSERT_TRUE(server.start());
    RawClient client(server.devicePath(), 9600);
    ASSERT_TRUE(client.send(":VOLT 3\r")); // wrong speed: the instrument hears noise
    ASSERT_TRUE(waitForLines(server, 1));
    client.setBaud(2400);
    ASSERT_TRUE(client.send(":VOLT?\r"));
    EXPECT_EQ(client.readLine(), "0.000\n") << "the setting at 9600 baud did not arrive";
    client.setBaud(4800);
    ASSERT_TRUE(client.send("*IDN?\r"));
    ASSERT_TRUE(waitForLines(server, 3));
    client.setBaud(2400);
    ASSERT_TRUE(client.send(":MEAS?\r"));
    EXPECT_EQ(client.readLine(), "0.000\n") << "the identity asked at 4800 baud was never answered";
}

TEST(PtyServer, SymlinkFollowsThePortAndUnplugMakesTheDeviceVanish)
{
    QTemporaryDir dir;
    PtyOptions options = optionsAt(9600);
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    QString device;
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        RawClient client(options.linkPath, 9600);
        ASSERT_TRUE(client.send("*IDN?\r"));
        EXPECT_FALSE(client.readLine().isEmpty());

        EXPECT_TRUE(server.unplug());
        EXPECT_TRUE(server.isUnplugged());
        EXPECT_EQ(server.fault(), Fault::Unplugged);
        EXPECT_FALSE(QFileInfo::exists(device)) << "the client's device has gone";
        EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink());
        EXPECT_TRUE(client.readLine().isEmpty()) << "an open client sees the line go dead";
        EXPECT_FALSE(server.unplug()) << "already unplugged";

        ASSERT_TRUE(server.replug());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        RawClient again(options.linkPath, 9600);
        ASSERT_TRUE(again.send("*IDN?\r"));
        EXPECT_EQ(again.readLine(), "QZ.Inc,ORX-A100,SN000001,1.00\n");
    }
    EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink()) << "removed when the server stops";
    EXPECT_FALSE(QFileInfo::exists(device));
}

TEST(PtyServer, SymlinkReplacesAnOldLinkButNeverAFile)
{
    QTemporaryDir dir;
    PtyOptions options = optionsAt(9600);
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent"), options.linkPath));
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), server.devicePath());
    }
    QFile file(options.linkPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    PtyServer server(options);
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}

TEST(PtyServer, FaultsSwitchAtRunTime)
{
    PtyServer server(optionsAt(9600));
    ASSERT_TRUE(server.start());
    RawClient client(server.devicePath(), 9600);

    server.setFault(Fault::Silence);
    ASSERT_TRUE(client.send("*IDN?\r"));
    ASSERT_TRUE(waitForLines(server, 1));
    server.setFault(Fault::None);
    ASSERT_TRUE(client.send(":VOLT?\r"));
    EXPECT_EQ(client.readLine(), "0.000\n") << "the silenced identity never came";

    server.setFault(Fault::Late);
    server.setLateMs(600'000); // later than this test lasts
    ASSERT_TRUE(client.send("*IDN?\r"));
    ASSERT_TRUE(waitForLines(server, 3));
    server.setFault(Fault::None);
    ASSERT_TRUE(client.send(":CURR?\r"));
    EXPECT_EQ(client.readLine(), "1.000\n") << "the late identity is still on its way";

    server.setFault(Fault::Garbage);
    ASSERT_TRUE(client.send("*IDN?\r"));
    const QByteArray noise = client.readLine();
    ASSERT_EQ(noise.size(), QByteArray("QZ.Inc,ORX-A100,SN000001,1.00\n").size())
        << "noise of the answer's length";
    for (qsizetype i = 0; i + 1 < noise.size(); ++i)
        EXPECT_GE(static_cast<unsigned char>(noise[i]), 0x80);
}

TEST(PtyServer, LogFileGetsEveryReceivedLine)
{
    QTemporaryDir dir;
    PtyOptions options = optionsAt(4800);
    options.logPath = dir.filePath(QStringLiteral("orx.log"));
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        RawClient client(server.devicePath(), 4800);
        ASSERT_TRUE(client.send("*IDN?\r"));
        client.readLine();
        client.setBaud(9600);
        ASSERT_TRUE(client.send(":VOLT 5\r"));
        ASSERT_TRUE(waitForLines(server, 2));
    }
    QFile log(options.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines and the empty rest after the last line feed
    EXPECT_TRUE(lines[0].endsWith(" 4800 *IDN?")) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith(" 9600 :VOLT 5")) << lines[1].constData();
    EXPECT_TRUE(QDateTime::fromString(QString::fromLatin1(lines[0].left(23)), Qt::ISODateWithMs).isValid());
}

TEST(PtyServer, LoadAndFrontPanelThroughTheServer)
{
    PtyOptions options = optionsAt(9600);
    options.loadOhms = 4.0;
    PtyServer server(options);
    ASSERT_TRUE(server.start());
    RawClient client(server.devicePath(), 9600);
    ASSERT_TRUE(client.send(":VOLT 2\r:OUTP:STAT 1\r:MEAS:CURR?\r"));
    EXPECT_EQ(client.readLine(), "0.500\n");
    server.withInstrument([](Instrument& orx) { orx.frontPanelOutputOff(); });
    ASSERT_TRUE(client.send(":OUTP:STAT?\r"));
    EXPECT_EQ(client.readLine(), "0\n");
}

TEST(PtyServer, RunServesOnTheCallingThreadUntilStoppedFromAnother)
{
    PtyServer server(optionsAt(9600));
    ASSERT_TRUE(server.open());
    std::thread loop([&] { server.run(); });
    RawClient client(server.devicePath(), 9600);
    ASSERT_TRUE(client.send("*IDN?\r"));
    EXPECT_EQ(client.readLine(), "QZ.Inc,ORX-A100,SN000001,1.00\n");
    server.requestStop();
    loop.join(); // a stop that did not reach the blocking loop would hang here
}

TEST(PtyServer, RefusesABaudRateItCannotServe)
{
    PtyServer server(optionsAt(19200));
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_TRUE(error.contains(u"19200"));
}
