// Unplug and replug: the panel monitors a paced virtual instrument at 9600 baud on a pseudo-terminal;
// the port is pulled and put back five times. For each run it prints how long the panel took to see
// the port gone, the share of one core its thread used while watching for the port (once a second,
// by the device file alone), and, after the replug, the wait for the next look, the reconnect (the
// identity query and the whole read-back) beside the wire time of what it exchanged, and the time to
// the first monitoring tick after it.

#include "app/form1.h"
#include "bench_support.h"
#include "connected_panel.h"
#include "connection/link_recovery.h"
#include "link/command_link.h"
#include "panel/monitoring_loop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kRuns = 5;

// Notes when the first command after a restart went out and when the last input came in.
class TimedSerial : public CountingSerial
{
public:
    using CountingSerial::CountingSerial;

    void restart()
    {
        characters = 0;
        firstWriteNs = lastInputNs = -1;
        since.start();
    }
    void write(const QByteArray& text) override
    {
        if (firstWriteNs < 0)
            firstWriteNs = since.nsecsElapsed();
        CountingSerial::write(text);
    }
    QByteArray takeInput() override
    {
        QByteArray input = CountingSerial::takeInput();
        if (!input.isEmpty())
            lastInputNs = since.nsecsElapsed();
        return input;
    }

    QElapsedTimer since;
    qint64 firstWriteNs = -1;
    qint64 lastInputNs = -1;
};

// Lets events run until `done` or ten seconds have passed; the seconds it took, or -1.
double waitFor(const std::function<bool()>& done)
{
    return runEventsUntil(done, 10'000);
}

} // namespace

int main(int argc, char** argv)
{
    useHeadlessPanelEnvironment();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), kBaud);
    if (!server)
        return 1;
    ConnectedPanel panel(dir.path());
    TimedSerial serial(panel.port);
    if (!panel.connect(serial))
        return 1;
    Form1& form = *panel.form;
    int ticks = 0;
    QObject::connect(&form.monitoring(), &MonitoringLoop::ticked, [&ticks] { ++ticks; });
    panel.startMonitoring();
    const LinkRecovery& recovery = form.recovery();
    std::printf("Unplug and replug at %d baud, paced, reconnecting automatically (%d runs)\n", kBaud, kRuns);
    for (int run = 1; run <= kRuns; ++run) {
        const int before = ticks;
        if (waitFor([&] { return ticks > before; }) < 0)
            return 1;
        server->unplug();
        const double seen = waitFor([&] { return recovery.watch() == PortWatch::Absent; });
        const double cpuBefore = threadCpuSeconds();
        runEvents(3000);
        const double cpuShare = (threadCpuSeconds() - cpuBefore) / 3.0;
        const int ticksBefore = ticks;
        serial.restart();
        server->replug();
        const double rejoined = waitFor([&] { return recovery.watch() == PortWatch::Present; });
        const double exchange = wireSeconds(serial.characters, kBaud);
        const double reconnect = double(serial.lastInputNs - serial.firstWriteNs) / 1e9;
        const double tick = waitFor([&] { return ticks > ticksBefore; });
        if (seen < 0 || rejoined < 0 || tick < 0) {
            std::printf("  run %d: the panel did not come back\n", run);
            return 1;
        }
        std::printf("  run %d: gone seen after %.3f s; watching: %.3f%% of one core; back: next look after "
                    "%.3f s, reconnect %.3f s beside %.3f s of wire time (%.2fx), first tick %.3f s after "
                    "the replug\n",
                    run, seen, 100.0 * cpuShare, double(serial.firstWriteNs) / 1e9, reconnect, exchange,
                    reconnect / exchange, rejoined + tick);
    }
    return 0;
}
