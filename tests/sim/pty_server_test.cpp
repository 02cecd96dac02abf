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

// Bounds every wait so that a broken server cannot hang the test; never what a test asserts.
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

} // namespace

// A baud rate the server cannot serve is refused. Only lines at the server's baud rate are answered, and
// each is logged with the client's baud rate when it came. Paced answers must still arrive whole and in
// order. Unplugging takes the device and the link away, replugging brings both back; a stale link is
// replaced, a file in its place never is.
TEST(PtyServer, ServesAtItsBaudRateLogsEveryLineAndUnplugsBehindItsLink)
{
    const QByteArray identity = "QZ.Inc,ORX-C300,SN000001,1.00\n";
    QTemporaryDir dir;
    PtyOptions options;
    options.modelIndex = 2;
    options.paced = true;
    options.logPath = dir.filePath(QStringLiteral("orx.log"));
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    options.baud = 19200;
    QString error;
    EXPECT_FALSE(PtyServer(options).start(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("19200"))) << qPrintable(error);
    options.baud = 2400;
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent"), options.linkPath));
    QString device;
    {
        PtyServer server(options);
        ASSERT_TRUE(server.start());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        Client client(options.linkPath, 9600);
        ASSERT_TRUE(client.send(":VOLT 3\r")); // wrong speed: the instrument hears noise
        // The server must have the line before the client changes its speed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.linesReceived() == 1; }, kPatienceMs));
        client.setBaudRate(2400);
        ASSERT_TRUE(client.send(":VOLT?\r*IDN?\n")); // LF ends a line as well
        EXPECT_EQ(client.line(), "0.000\n") << "the setting at 9600 baud did not arrive";
        EXPECT_EQ(client.line(), identity);

        EXPECT_TRUE(server.unplug());
        EXPECT_FALSE(QFileInfo::exists(device)) << "the client's device has gone";
        EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink());
        client.send("*IDN?\r");
        EXPECT_TRUE(client.line().isEmpty()) << "an open client sees the line go dead";

        ASSERT_TRUE(server.replug());
        device = server.devicePath();
        EXPECT_EQ(QFileInfo(options.linkPath).symLinkTarget(), device);
        client.close(); // opened again, the link leads to the new device
        ASSERT_TRUE(client.open(QIODevice::ReadWrite));
        ASSERT_TRUE(client.send("*IDN?\r"));
        EXPECT_EQ(client.line(), identity);
    }
    EXPECT_FALSE(QFileInfo(options.linkPath).isSymLink()) << "removed when the server stops";
    EXPECT_FALSE(QFileInfo::exists(device));
    QFile log(options.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(log.readAll()).split(u'\n');
    EXPECT_TRUE(QDateTime::fromString(lines[0].section(u' ', 0, 0), Qt::ISODateWithMs).isValid());
    QStringList received; // without the time stamps
    for (const QString& line : lines)
        received.append(line.section(u' ', 1));
    EXPECT_EQ(received, QStringList({"9600 :VOLT 3", "2400 :VOLT?", "2400 *IDN?", "2400 *IDN?", ""}));

    QFile file(options.linkPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("keep me") == 7);
    file.close();
    EXPECT_FALSE(PtyServer(options).start());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}
