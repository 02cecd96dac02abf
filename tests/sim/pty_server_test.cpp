// The pty server, seen from a serial program on its device.

#include "sim/pty_server.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx::sim;

namespace {

// Bounds every wait. The server answers within microseconds; the bound only keeps a broken server
// from hanging the test, it is never what a test asserts.
constexpr int kPatienceMs = 5000;

// A serial program on the pty at a chosen baud rate.
struct Client : QSerialPort
{
    Client(const QString& path, int baud) : QSerialPort(path)
    {
        setBaudRate(baud);
        open(QIODevice::ReadWrite);
    }
    bool send(const QByteArray& bytes) { return write(bytes) == bytes.size() && flush(); }
    // The next line with its line feed; empty when the device went away or nothing came in time.
    QByteArray line()
    {
        while (!canReadLine() && waitForReadyRead(kPatienceMs)) {
        }
        return canReadLine() ? readLine() : QByteArray();
    }
};

const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";

} // namespace

// Paced, the answers trickle out a character at a time: they must still arrive whole and in order.
// A baud rate the server cannot serve is refused.
TEST(PtyServer, AnswersAtItsOwnBaudRate)
{
    for (const auto& [baud, model, paced, identity] : {std::tuple{19200, 0, false, ""},
                                                       {9600, 0, true, "QZ.Inc,ORX-A100,SN000001,1.00\n"},
                                                       {4800, 1, false, "QZ.Inc,ORX-B200,SN000001,1.00\n"},
                                                       {2400, 2, false, "QZ.Inc,ORX-C300,SN000001,1.00\n"},
                                                       {1200, 0, false, "QZ.Inc,ORX-A100,SN000001,1.00\n"}}) {
        PtyOptions options;
        options.modelIndex = model;
        options.baud = baud;
        options.paced = paced;
        PtyServer server(options);
        QString error;
        ASSERT_EQ(server.start(&error), *identity != '\0') << qPrintable(error);
        if (!*identity) {
            EXPECT_TRUE(error.contains(QString::number(baud))) << qPrintable(error);
            continue;
        }
        Client client(server.devicePath(), baud);
        ASSERT_TRUE(client.send("*IDN?\r:VOLT 2.5\n:VOLT?\n")); // LF ends a line as well
        EXPECT_EQ(client.line(), identity) << baud;
        EXPECT_EQ(client.line(), "2.500\n") << baud;
    }
}

// Every received line goes to the log with the baud rate the client had set when it came.
TEST(PtyServer, EachLineIsJudgedAndLoggedAtTheClientsBaudRateOfTheMoment)
{
    QTemporaryDir dir;
    PtyOptions options;
    options.baud = 2400;
    options.logPath = dir.filePath(QStringLiteral("orx.log"));
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        Client client(server.devicePath(), 9600);
        ASSERT_TRUE(client.send(":VOLT 3\r")); // wrong speed: the instrument hears noise
        // The server must have the line before the client changes its speed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.linesReceived() == 1; }, kPatienceMs));
        client.setBaudRate(2400);
        ASSERT_TRUE(client.send(":VOLT?\r"));
        EXPECT_EQ(client.line(), "0.000\n") << "the setting at 9600 baud did not arrive";
        client.setBaudRate(4800);
        ASSERT_TRUE(client.send("*IDN?\r"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.linesReceived() == 3; }, kPatienceMs));
        client.setBaudRate(2400);
        ASSERT_TRUE(client.send(":MEAS?\r"));
        EXPECT_EQ(client.line(), "0.000\n") << "the identity asked at 4800 baud was never answered";
    }
    QFile log(options.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(log.readAll()).split(u'\n');
    EXPECT_TRUE(QDateTime::fromString(lines[0].section(u' ', 0, 0), Qt::ISODateWithMs).isValid());
    QStringList received; // without the time stamps
    for (const QString& line : lines)
        received.append(line.section(u' ', 1));
    EXPECT_EQ(received, QStringList({"9600 :VOLT 3", "2400 :VOLT?", "4800 *IDN?", "2400 :MEAS?", ""}));
}

// A link left behind by an earlier run is replaced.
TEST(PtyServer, SymlinkFollowsThePortAndUnplugMakesTheDeviceVanish)
{
    QTemporaryDir dir;
    PtyOptions options; // at 9600 baud
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent"), options.linkPath));
    QString device;
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        Client client(options.linkPath, 9600);
        ASSERT_TRUE(client.send("*IDN?\r"));
        EXPECT_EQ(client.line(), kIdentity);

        EXPECT_TRUE(server.unplug());
        EXPECT_FALSE(QFileInfo::exists(device)) << "the client's device has gone";
        EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink());
        client.send("*IDN?\r");
        EXPECT_TRUE(client.line().isEmpty()) << "an open client sees the line go dead";
        EXPECT_FALSE(server.unplug()) << "already unplugged";

        ASSERT_TRUE(server.replug());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        client.close(); // opened again, the link leads to the new device
        ASSERT_TRUE(client.open(QIODevice::ReadWrite));
        ASSERT_TRUE(client.send("*IDN?\r"));
        EXPECT_EQ(client.line(), kIdentity);
    }
    EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink()) << "removed when the server stops";
    EXPECT_FALSE(QFileInfo::exists(device));
}

TEST(PtyServer, SymlinkNeverReplacesAFile)
{
    QTemporaryDir dir;
    PtyOptions options;
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    QFile file(options.linkPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    PtyServer server(options);
    EXPECT_FALSE(server.start());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}
