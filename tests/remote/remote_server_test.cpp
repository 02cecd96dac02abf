// The remote socket of the main window with in-process instruments, each client a QTcpSocket: the
// rules of who gets which answer, when lines run, the read-back, garbage, and loopback only.

#include "remote/remote_server.h"

#include "connection/link_recovery.h"
#include "link/command_link.h"
#include "support/panel_harness.h"
#include "traffic/traffic_log.h"
#include "ui/pending_events.h"

#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

struct Client
{
    QTcpSocket socket;
    QByteArray received;

    explicit Client(RemoteServer& server)
    {
        const qsizetype before = server.clients().size();
        socket.connectToHost(QHostAddress::LocalHost, server.port());
        EXPECT_TRUE(socket.waitForConnected(3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.clients().size() > before; }, 3000));
    }
    void send(const QByteArray& bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    bool receives(const QByteArray& answers)
    {
        return QTest::qWaitFor([&] { return (received += socket.readAll()) == answers; }, 3000);
    }
    QString origin() const { return QStringLiteral("[remote 127.0.0.1:%1]").arg(socket.localPort()); }
};

// The traffic console's lines of the panel's link, from now on.
struct Console : TrafficLog
{
    CommandLink& link;
    explicit Console(PanelHarness& h) : link(h.form->link()) { link.addObserver(this); }
    ~Console() override { link.removeObserver(this); }
    QStringList lines() const
    {
        QStringList out;
        for (quint64 i = firstSequence(); i < endSequence(); ++i)
            out.append(formatTrafficLine(at(i)));
        return out;
    }
};

// The main window connected to an ORX-A100 behind COM1.
struct Connected
{
    PanelHarness h;
    sim::Instrument orx{0};
    Connected()
    {
        h.gpib.setInterfaceAvailable(false);
        h.serial.attachInstrument(1, &orx, 9600);
        h.connected();
    }
};

} // namespace

TEST(RemoteServer, ClientsInterleavedEachGetTheirOwnAnswersInArrivalOrder)
{
    PanelHarness h(scriptedAnswers); // not connected yet: lines wait
    Console console(h);
    RemoteServer& server = h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client a(server), b(server);
    const QList<std::pair<Client*, QByteArray>> lines = {
        {&a, ":VOLT?\n"}, {&b, ":CURR?\r\n"}, {&a, ":CURR?\n"}, {&b, ":VOLT?\n"}};
    for (const auto& [client, line] : lines) {
        const qsizetype before = server.waitingLines();
        client->send(line);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.waitingLines() > before; }, 3000));
    }
    h.state.ConnectDone = 1;
    EXPECT_TRUE(a.receives("5.000\n1.000\n"));
    EXPECT_TRUE(b.receives("1.000\n5.000\n"));
    EXPECT_EQ(h.sent, Commands({":VOLT?", ":CURR?", ":CURR?", ":VOLT?"}));
    const QStringList shown = console.lines().filter(" TX ");
    EXPECT_TRUE(shown.value(0).endsWith("TX  :VOLT?<CR>  " + a.origin()) &&
                shown.value(1).endsWith("TX  :CURR?<CR>  " + b.origin()))
        << shown.join(u'\n').toStdString();
}

// Events that run in the middle of a tick (as under a message box) deliver the line; it waits.
TEST(RemoteServer, ALineArrivingMidTickRunsAfterTheTicksEightCommands)
{
    PanelHarness h(scriptedAnswers);
    h.state.ConnectDone = 1;
    h.answers["*IDN?"] = "QZ.Inc,ORX-A100,SN1,1.0\n";
    h.c().output->select(1);
    h.form->timer1().stop();
    h.sent.clear();
    RemoteServer& server = h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client client(server);
    bool arrived = false;
    h.onCommand = [&](const QByteArray& command) {
        if (command != ":MEAS?" || arrived)
            return;
        client.send("*IDN?\n");
        for (int i = 0; i < 300 && !arrived; ++i, arrived = server.waitingLines() > 0)
            waitForPendingEvents(10); // the panel's helper: events inside an operation
    };
    h.form->monitoring().Timer1_Timer();
    h.onCommand = nullptr;
    ASSERT_TRUE(arrived);
    EXPECT_TRUE(client.receives("QZ.Inc,ORX-A100,SN1,1.0\n"));
    EXPECT_EQ(h.sent, Commands({":MEAS?", "*CLS", ":MEAS:CURR?", "*CLS", ":CURR:PROT:TRIP?",
                                ":VOLT:PROT:TRIP?", ":OUTP:STAT?", "*CLS", "*IDN?"}));
}

TEST(RemoteServer, LinesArrivingDuringADownloadRunAfterIt)
{
    Connected r;
    RemoteServer& server = r.h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client client(server);
    QTemporaryDir dir;
    r.h.dialogs.fileAnswers.enqueue(dir.filePath("memories.csv"));
    client.send(":VOLT:PROT?\n"); // delivered once the download lets events run
    r.h.c().sallfile->click();
    EXPECT_EQ(server.waitingLines(), 1) << "the line arrived during the download and waited for its end";
    EXPECT_TRUE(client.receives(r.orx.handleLine(":VOLT:PROT?", 0)->toLatin1() + '\n'));
}

// The script's setting reaches the window through the read-back; EXIT closes the client first.
TEST(RemoteServer, ARemoteVoltageShowsInThePanelAndExitClosesTheClientFirst)
{
    Connected r;
    PanelHarness& h = r.h;
    Console console(h);
    RemoteServer& server = h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client client(server);
    ASSERT_NE(h.c().setv->value(), 5.0);
    client.send(":VOLT 5.000\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.c().setv->value() == 5.0; }, 2000));
    EXPECT_EQ(h.c().remoteField->text(), "Remote: " + QString::number(server.port()) + ", 1 client");

    h.c().cmdexit->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.socket.state() == QAbstractSocket::UnconnectedState; }));
    const QString lines = console.lines().join(u'\n');
    EXPECT_LT(lines.indexOf("client closed: the panel stopped serving"), lines.indexOf("SYST:LOC"));
    EXPECT_GE(lines.indexOf("client closed"), 0);
}

// A line too long, binary input and a flood each close their client with a console line; a line
// that waited past the bound is dropped; the client that behaves goes on.
TEST(RemoteServer, GarbageClosesOnlyItsClientAndOldLinesAreDropped)
{
    PanelHarness h(scriptedAnswers); // not connected yet: lines wait
    h.answers["*IDN?"] = "QZ.Inc,ORX-A100,SN1,1.0\n";
    Console console(h);
    RemoteServer& server = h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client good(server);
    good.send(":VOLT?\n");
    const struct
    {
        QByteArray bytes;
        const char* remark;
    } cases[] = {
        {QByteArray(5000, 'x') + '\n', "client closed: a line over 4096 characters"},
        {QByteArray("*IDN?\n\x00\x01\xff", 9), "client closed: binary input; 1 waiting lines dropped"},
        {QByteArray("*CLS\n").repeated(300),
         "client closed: more than 256 lines waiting; 256 waiting lines dropped"},
    };
    for (const auto& c : cases) {
        Client bad(server);
        const QString origin = bad.origin();
        bad.send(c.bytes);
        EXPECT_TRUE(QTest::qWaitFor([&] { return bad.socket.state() == QAbstractSocket::UnconnectedState; }))
            << c.remark;
        EXPECT_EQ(console.lines().filter(origin).filter(c.remark).size(), 1) << c.remark;
    }
    h.clock.advanceMilliseconds(30'001);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.waitingLines() == 0; }));
    EXPECT_EQ(console.lines().filter("!!  dropped after waiting 30 s: :VOLT?  " + good.origin()).size(), 1);
    EXPECT_EQ(server.events().filter("dropped after waiting 30 s").size(), 1) << "the Remote window says so";

    h.state.ConnectDone = 1;
    good.send("*IDN?\n");
    EXPECT_TRUE(good.receives("QZ.Inc,ORX-A100,SN1,1.0\n"));
    EXPECT_EQ(h.sent, Commands({"*IDN?"}));
}

// No address of the machine but the loopback's takes a client; a port another program holds is
// reported in the status bar.
TEST(RemoteServer, ServesTheLoopbackOnlyAndReportsATakenPort)
{
    PanelHarness h;
    h.create();
    RemoteServer& server = h.form->remote();
    ASSERT_TRUE(server.start(0));
    ASSERT_FALSE(server.listeningAddresses().isEmpty());
    for (const QHostAddress& address : server.listeningAddresses())
        EXPECT_TRUE(address.isLoopback()) << address.toString().toStdString();
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback())
            continue;
        QTcpSocket probe;
        probe.connectToHost(address, server.port());
        EXPECT_FALSE(probe.waitForConnected(2000)) << address.toString().toStdString();
    }
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost));
    EXPECT_FALSE(server.start(other.serverPort()));
    EXPECT_EQ(h.c().remoteField->text(), QStringLiteral("Remote: port %1 in use").arg(other.serverPort()));
}

// While the instrument's port has gone, a line waits and nothing goes to the port; it runs once the
// same instrument is taken up again.
TEST(RemoteServer, ALineWaitsWhileThePortHasGone)
{
    Connected r;
    RemoteServer& server = r.h.form->remote();
    ASSERT_TRUE(server.start(0));
    Client client(server);
    r.h.serial.setFault(sim::Fault::Unplugged);
    r.h.form->recovery().look();
    ASSERT_EQ(r.h.form->recovery().watch(), PortWatch::Absent);
    r.h.serial.clearLog();
    client.send(":VOLT:PROT?\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.waitingLines() == 1; }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(server.waitingLines(), 1);
    EXPECT_TRUE(r.h.serial.commands().isEmpty());
    r.h.serial.setFault(sim::Fault::None);
    r.h.form->recovery().look(); // back: taken up again automatically
    EXPECT_TRUE(client.receives(r.orx.handleLine(":VOLT:PROT?", 0)->toLatin1() + '\n'));
    EXPECT_EQ(r.h.serial.commands().last(), ":VOLT:PROT?");
}
