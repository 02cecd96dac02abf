// The remote socket against a virtual instrument on a pseudo-terminal that paces both directions at
// the real wire speed (10 bits a character), at 9600 baud, in one run:
//   - one query (":MEAS?") through the socket, from a client's write to the answer's arrival, beside
//     the same query on the link directly and beside its wire time (target: at most 1.05 times);
//   - ticks per minute of the monitoring loop while a client queries back to back (target: at least
//     58), with the client's queries per minute.
//
// Usage: remote_bench [seconds of monitoring with the client, default 60]

#include "bench_support.h"
#include "connected_panel.h"

#include "app/form1.h"
#include "link/command_link.h"
#include "remote/remote_server.h"
#include "ui/option_group.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kQueries = 100;

// A client in a thread of its own, querying back to back until told to stop or `count` are done.
// Each query's time, from the write to the whole answer line, is added up.
struct Client
{
    std::atomic<bool> stop = false;
    std::atomic<int> done = 0;
    std::atomic<qint64> totalNs = 0;
    std::thread thread;

    Client(quint16 port, int count)
    {
        thread = std::thread([this, port, count] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (!socket.waitForConnected(3000))
                return;
            QElapsedTimer clock;
            while (!stop && done < count) {
                clock.start();
                socket.write(":MEAS?\n");
                socket.flush();
                while (!socket.canReadLine() && socket.waitForReadyRead(3000)) {
                }
                if (!socket.canReadLine())
                    return;
                socket.readLine();
                totalNs += clock.nsecsElapsed();
                ++done;
            }
        });
    }
    ~Client()
    {
        stop = true;
        thread.join();
    }
};

} // namespace

int main(int argc, char** argv)
{
    useHeadlessPanelEnvironment();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), kBaud);
    if (!server)
        return 1;

    ConnectedPanel panel(dir.path());
    CountingSerial serial(panel.port);
    if (!panel.connect(serial))
        return 1;
    Form1& form = *panel.form;
    RemoteServer& remote = form.remote();
    if (!remote.start(0)) {
        std::fprintf(stderr, "the remote server did not start\n");
        return 1;
    }

    // The same query on the link and through the socket, output off: nothing else on the wire.
    qint64 chars = serial.characters;
    const qint64 directStart = panel.clock.nanoseconds();
    for (int i = 0; i < kQueries; ++i)
        form.link().query(QStringLiteral(":MEAS?"));
    const double direct = double(panel.clock.nanoseconds() - directStart) / 1e9 / kQueries;
    const double directWire = wireSeconds(serial.characters - chars, kBaud) / kQueries;
    chars = serial.characters;
    double socket = 0;
    {
        Client client(remote.port(), kQueries);
        runEventsUntil([&] { return client.done == kQueries; }, 60'000);
        socket = double(client.totalNs) / 1e9 / std::max(1, client.done.load());
    }
    const double socketWire = wireSeconds(serial.characters - chars, kBaud) / kQueries;
    std::printf("%d baud, %d queries \":MEAS?\" each way\n", kBaud, kQueries);
    std::printf("  on the link:        %.2f ms, wire time %.2f ms: ratio %.3f\n", 1000 * direct,
                1000 * directWire, direct / directWire);
    std::printf(
        "  through the socket: %.2f ms, wire time %.2f ms: ratio %.3f (target <= 1.05); %.3f x the link\n",
        1000 * socket, 1000 * socketWire, socket / socketWire, socket / direct);

    // Monitoring while a client queries back to back.
    int ticks = 0;
    // The rate between the first tick and the last, so that a short run does not count its start.
    QElapsedTimer wall;
    qint64 firstNs = 0, lastNs = 0;
    QObject::connect(&form.timer1(), &QTimer::timeout,
                     [&] { (ticks++ == 0 ? firstNs : lastNs) = wall.nsecsElapsed(); });
    wall.start();
    panel.startMonitoring();
    int queries = 0;
    {
        Client client(remote.port(), INT_MAX);
        runEvents(seconds * 1000);
        queries = client.done;
    }
    const double minutes = double(wall.nsecsElapsed()) / 60e9;
    const double perMinute = ticks > 1 ? (ticks - 1) * 60e9 / double(lastNs - firstNs) : 0;
    OptionGroup& output = *form.controls().output;
    const bool looping = output.isSelected(1);
    output.select(0);
    std::printf("monitoring for %.1f s with a client querying back to back (loop %s)\n", minutes * 60,
                looping ? "still running" : "STOPPED");
    std::printf("  ticks:   %d, %.1f per minute (target >= 58)\n", ticks, perMinute);
    std::printf("  queries: %.0f per minute through the socket\n", queries / minutes);
    server->stop();
    return looping && perMinute >= 58 ? 0 : 1;
}
