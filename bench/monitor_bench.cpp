// The monitoring loop against a virtual instrument on a pseudo-terminal that paces both directions
// at the real wire speed (10 bits a character), at 9600 and at 1200 baud:
//   - the time of one tick beside the wire time of its eight commands and five answers (target:
//     within 1.05 times);
//   - ticks per minute while the loop runs on its one-second timer, beside the most the wire and the
//     timer allow (no backlog: never more ticks than that);
//   - the CPU share of the panel's thread while it monitors (target at 9600: under 2% of one core).
// A last run at 1200 baud has every answer come 60 ms late, so that a tick outlasts the timer's
// second: the ticks then follow the tick length, and no expiry is made up.
//
// Usage: monitor_bench [seconds of timed monitoring per baud rate, default 60]

#include "bench_support.h"
#include "connected_panel.h"

#include "app/form1.h"
#include "panel/monitoring_loop.h"
#include "sim/pty_server.h"
#include "ui/option_group.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kSingleTicks = 20;

bool runAt(int baud, int seconds, int lateMs = 0)
{
    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), baud, lateMs);
    if (!server)
        return false;

    ConnectedPanel panel(dir.path());
    CountingSerial serial(panel.port);
    if (!panel.connect(serial))
        return false;
    Form1& form = *panel.form;
    panel.startMonitoring();
    form.timer1().stop();

    // Single ticks, back to back.
    qint64 tickNs = 0, tickChars = 0;
    for (int i = 0; i < kSingleTicks; ++i) {
        const qint64 chars = serial.characters;
        const qint64 start = panel.clock.nanoseconds();
        form.monitoring().Timer1_Timer();
        tickNs += panel.clock.nanoseconds() - start;
        tickChars += serial.characters - chars;
    }
    const double tick = double(tickNs) / 1e9 / kSingleTicks;
    const double tickWire = wireSeconds(tickChars, baud) / kSingleTicks;

    // The loop on its own timer.
    int ticks = 0;
    QObject::connect(&form.timer1(), &QTimer::timeout, [&] { ++ticks; });
    const double cpuBefore = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    form.timer1().start();
    runEvents(seconds * 1000);
    form.timer1().stop();
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = threadCpuSeconds() - cpuBefore;
    const bool looping = form.controls().output->isSelected(1);

    const double perMinute = ticks * 60.0 / elapsed;
    const double allowed = 60.0 / std::max(1.0, tick);
    const QString late = lateMs > 0 ? QStringLiteral(", every answer %1 ms late").arg(lateMs) : QString();
    std::printf("%d baud%s (%.1f s of monitoring, loop %s)\n", baud, qPrintable(late), elapsed,
                looping ? "still running" : "STOPPED");
    std::printf("  one tick:   %.1f ms measured, %.1f ms wire time (%lld characters): ratio %.3f%s\n",
                1000.0 * tick, 1000.0 * tickWire, static_cast<long long>(tickChars / kSingleTicks),
                tick / tickWire, lateMs > 0 ? "" : " (target <= 1.05)");
    std::printf(
        "  ticks:      %.1f per minute; the timer and the tick length allow at most %.1f (ratio %.3f)\n",
        perMinute, allowed, perMinute / allowed);
    std::printf("  CPU:        %.2f%% of one core for the panel's thread\n", 100.0 * cpu / elapsed);
    server->stop();
    qputenv("ORX_COM1", QByteArray());
    return looping;
}

} // namespace

int main(int argc, char** argv)
{
    useHeadlessPanelEnvironment();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    bool ok = true;
    for (const int baud : {9600, 1200})
        ok = runAt(baud, seconds) && ok;
    ok = runAt(1200, seconds, 60) && ok;
    return ok ? 0 : 1;
}
