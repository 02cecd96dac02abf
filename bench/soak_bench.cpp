// Soak: the panel monitors orx-sim (a process of its own, paced at 9600 baud, a 10 ohm load) for a
// long time and prints the ticks, the time-outs, the ticks with a missing reading, the resident
// memory at the start, after the first minute and at the end, and the CPU share of the panel's
// thread. Targets: no memory growth beyond 1 MB after the first minute, no missed answer on a clean
// link.
//
// Usage: soak_bench [seconds, default 600]

#include "app/form1.h"
#include "bench_support.h"
#include "connected_panel.h"
#include "link/command_link.h"
#include "link/link_observer.h"
#include "panel/monitoring_loop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace orx;
using namespace orx::bench;

namespace {

class TimeOutCounter : public LinkObserver
{
public:
    int timeOuts = 0;
    void connectStarted(const LinkMoment&) override {}
    void sent(const LinkMoment&, const QByteArray&) override {}
    void received(const LinkMoment&, const QByteArray&) override {}
    void timedOut(const LinkMoment&, const QByteArray&) override { ++timeOuts; }
    void openFailed(const LinkMoment&) override {}
    void staleInputDiscarded(const LinkMoment&, const QByteArray&) override {}
    void gpibWriteFailed(const LinkMoment&, const QByteArray&) override {}
    void gpibReadFailed(const LinkMoment&) override {}
};

} // namespace

int main(int argc, char** argv)
{
    useHeadlessPanelEnvironment();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(61, atoi(argv[1])) : 600;

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("orx"));
    QProcess sim;
    sim.start(QStringLiteral(ORX_SIM_PATH), {QStringLiteral("--link"), link, QStringLiteral("--paced"),
                                             QStringLiteral("--load"), QStringLiteral("10")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start orx-sim\n");
        return 1;
    }
    qputenv("ORX_COM1", link.toLocal8Bit());

    ConnectedPanel panel(dir.path());
    if (!panel.connect(panel.port))
        return 1;
    Form1& form = *panel.form;
    TimeOutCounter counter;
    form.link().addObserver(&counter);
    int ticks = 0, missed = 0;
    QObject::connect(&form.monitoring(), &MonitoringLoop::ticked, [&](const TickReadings& r) {
        ++ticks;
        missed += (!r.volts || !r.amperes || r.answerMissing) ? 1 : 0;
    });
    panel.startMonitoring();

    const long startKb = residentKilobytes();
    const double cpuBefore = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runEvents(60'000);
    const long minuteKb = residentKilobytes();
    runEvents((seconds - 60) * 1000);
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = threadCpuSeconds() - cpuBefore;
    const long endKb = residentKilobytes();
    const bool looping = form.timer1().isActive();
    form.link().removeObserver(&counter);

    std::printf("%.0f s of monitoring at 9600 baud (loop %s)\n", elapsed,
                looping ? "still running" : "STOPPED");
    std::printf("  ticks:     %d (%.1f per minute), %d with a missing reading, %d time-outs (target: 0)\n",
                ticks, ticks * 60.0 / elapsed, missed, counter.timeOuts);
    std::printf(
        "  resident:  %ld kB at the start, %ld kB after a minute, %ld kB at the end: %+ld kB since the "
        "first minute (target: under 1024)\n",
        startKb, minuteKb, endKb, endKb - minuteKb);
    std::printf("  CPU:       %.2f%% of one core for the panel's thread\n", 100.0 * cpu / elapsed);
    sim.terminate();
    sim.waitForFinished(3000);
    return looping && counter.timeOuts == 0 && missed == 0 ? 0 : 1;
}
