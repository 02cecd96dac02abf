// What the trend window and the traffic console cost the monitoring loop, and what the panel holds
// in memory after a long run with the trend open.
//
// Two panels monitor the same virtual instrument on a pseudo-terminal that paces both directions at
// 9600 baud (10 bits a character): one whose View windows were never opened, and one with the
// traffic console and the trend window shown, the trend counting charge and energy, showing the
// statistics of its span and the power trace, and logging to a file. They take turns in
// alternating blocks of ticks, so that a change in the machine's load hits both alike; only the
// panel whose turn it is holds the port. After every tick the events run for a short pause, as they
// would before the timer's next second (the chart and the console catch up, the windows paint); that
// work is measured apart from the tick. The pause also lets the tick's last command leave the wire,
// which would otherwise be charged to the next tick.
//   - the tick time of both (target: the open windows within 2 % of the closed ones);
//   - the CPU time of the work between ticks;
//   - a trend window holding a full hour of ticks (fed to it as the monitoring loop reports them, on a
//     manual clock): how long it takes to bring the chart and its readouts up to date, to paint the
//     chart, and to follow the pointer with the cursor, beside the one second between two ticks;
//   - then the panel with the open windows monitors on its one-second timer for a while (default
//     ten minutes): its resident memory before and after (target: under 80 MB).
//
// Usage: trend_bench [seconds of monitoring for the memory figure, default 600] [blocks, default 10]

#include "bench_support.h"
#include "connected_panel.h"

#include "app/form1.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "panel/monitoring_loop.h"
#include "sim/pty_server.h"
#include "traffic/traffic_console.h"
#include "trend/trend_chart.h"
#include "trend/trend_window.h"
#include "ui/option_group.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kTicksPerBlock = 20;
constexpr int kPauseMs = 40;

struct Figures
{
    int ticks = 0;
    double tickSeconds = 0;
    double betweenCpuSeconds = 0;
    qint64 characters = 0;
};

struct Panel : ConnectedPanel
{
    CountingSerial serial{port};
    FileDialogs files; // the trend's Log to file... logs to its one file
    Figures figures;

    Panel(const QString& folder, const QString& logPath) : ConnectedPanel(folder), files(logPath) {}

    // Connected and the output on, with the ticks left to the benchmark.
    bool connectForTicks()
    {
        if (!connect(serial, files))
            return false;
        startMonitoring();
        form->timer1().stop();
        return true;
    }

    TrendWindow* openWindows()
    {
        form->controls().mnuTraffic->trigger();
        form->controls().mnuTrend->trigger();
        auto* trend = form->findChild<TrendWindow*>();
        trend->findChild<QPushButton*>(QStringLiteral("logToFile"))->click();
        trend->findChild<QCheckBox*>(QStringLiteral("power"))->setChecked(true);
        return trend;
    }

    // One tick, then the events of a pause.
    void tick(const Clock& clock)
    {
        const qint64 chars = serial.characters;
        const qint64 start = clock.nanoseconds();
        form->monitoring().Timer1_Timer();
        figures.tickSeconds += double(clock.nanoseconds() - start) / 1e9;
        figures.characters += serial.characters - chars;
        const double cpu = threadCpuSeconds();
        pause();
        figures.betweenCpuSeconds += threadCpuSeconds() - cpu;
        ++figures.ticks;
    }

    static void pause() { runEvents(kPauseMs); }
};

void printFigures(const char* title, const Figures& f)
{
    std::printf("  %-50s %8.2f ms per tick, wire time %.2f ms; between ticks %.3f ms CPU\n", title,
                1000.0 * f.tickSeconds / f.ticks, 1000.0 * wireSeconds(f.characters, kBaud) / f.ticks,
                1000.0 * f.betweenCpuSeconds / f.ticks);
}

bool compareTicks(Panel& closed, Panel& open, int blocks, const Clock& clock)
{
    Panel* panels[] = {&closed, &open};
    for (int block = 0; block < blocks; ++block) {
        for (int i = 0; i < 2; ++i) {
            // The other one lets go of the port; its first tick opens it again, outside the figures.
            Panel& p = *panels[(block + i) % 2];
            panels[1 - (block + i) % 2]->form->link().CloseSerialPort();
            p.form->monitoring().Timer1_Timer();
            Panel::pause();
            for (int t = 0; t < kTicksPerBlock; ++t)
                p.tick(clock);
        }
    }
    const double plain = closed.figures.tickSeconds / closed.figures.ticks;
    const double watched = open.figures.tickSeconds / open.figures.ticks;
    std::printf("Tick time at %d baud over a paced pty, %d alternating blocks of %d ticks each:\n", kBaud,
                blocks, kTicksPerBlock);
    printFigures("View windows never opened:", closed.figures);
    printFigures("console, trend (power, statistics, energy), log:", open.figures);
    std::printf("  difference: %+.2f%% of the tick time (target: within 2%%)\n",
                100.0 * (watched - plain) / plain);
    return closed.form->controls().output->isSelected(1) && open.form->controls().output->isSelected(1);
}

// Milliseconds `work` takes, the best of a few runs.
template <typename Work>
double bestMs(Work work)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const qint64 start = SteadyClock().nanoseconds();
        work();
        best = std::min(best, double(SteadyClock().nanoseconds() - start) / 1e6);
    }
    return best;
}

// A trend window of its own on the panel's monitoring loop, fed an hour of ticks one second apart
// whose current rises and falls, then timed showing the whole hour.
void hourOfTicks(Panel& p)
{
    ManualClock clock;
    clock.setWallStart(QDateTime::currentMSecsSinceEpoch());
    TrendWindow window(nullptr,
                       TrendSources{p.form->monitoring(), *p.form->controls().output, clock,
                                    [] { return QString(); },
                                    [] {
                                        return QString();
                                    }},
                       p.files);
    window.findChild<QComboBox*>(QStringLiteral("span"))->setCurrentIndex(int(kTrendSpans.size()) - 1);
    window.findChild<QCheckBox*>(QStringLiteral("power"))->setChecked(true);
    window.show();
    for (int i = 0; i < 3600; ++i) {
        clock.advanceMilliseconds(1000);
        emit p.form->monitoring().ticked(TickReadings{12.0, 0.5 + 0.4 * std::sin(i / 60.0), true});
    }
    auto* chart = window.findChild<QWidget*>(QStringLiteral("chart"));
    const double refresh = bestMs([&] { window.refresh(); });
    const double paint = bestMs([&] { chart->grab(); });
    int x = chart->width() / 3;
    const double cursor = bestMs([&] {
        QWidget* viewport = window.chart().viewport();
        const QPointF at(x += 7, viewport->height() / 2);
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(viewport, &move);
        chart->grab();
    });
    std::printf("A trend window showing an hour of ticks (%zu points, power shown):\n",
                window.recorder().buffer().points().size());
    for (const auto& [what, ms] :
         {std::pair{"chart, statistics and totals brought up to date:", refresh},
          std::pair{"chart painted:", paint}, std::pair{"cursor moved and the chart painted:", cursor}})
        std::printf("  %-52s %7.2f ms, %.1f%% of the second between ticks\n", what, ms, ms / 10.0);
    std::printf("  charge %.4f Ah, energy %.4f Wh counted over the hour\n",
                window.recorder().energy().ampereHours, window.recorder().energy().wattHours);
}

void monitorFor(Panel& p, TrendWindow* trend, int seconds, const QString& logPath)
{
    const long startKb = residentKilobytes();
    const double cpuBefore = threadCpuSeconds();
    int ticks = 0;
    QObject::connect(&p.form->monitoring(), &MonitoringLoop::ticked, [&ticks] { ++ticks; });
    p.form->timer1().start();
    runEvents(seconds * 1000);
    p.form->timer1().stop();
    const double cpu = threadCpuSeconds() - cpuBefore;
    const long endKb = residentKilobytes();
    std::printf(
        "Memory after %d s of monitoring on the one-second timer, console and trend shown, logging:\n",
        seconds);
    std::printf(
        "  resident: %.1f MB at the start, %.1f MB at the end, %.1f MB at most (target: under 80 MB)\n",
        startKb / 1024.0, endKb / 1024.0, peakResidentKilobytes() / 1024.0);
    std::printf("  CPU: %.2f%% of one core for the panel's thread\n", 100.0 * cpu / seconds);
    std::printf("  %d ticks; the trend holds %zu points, the log %lld lines (%lld bytes); loop %s\n", ticks,
                trend->recorder().buffer().points().size(),
                static_cast<long long>(trend->recorder().logStatus().lines),
                static_cast<long long>(QFileInfo(logPath).size()),
                p.form->timer1().isActive() || p.form->controls().output->isSelected(1) ? "ran to the end"
                                                                                        : "STOPPED");
}

} // namespace

int main(int argc, char** argv)
{
    useHeadlessPanelEnvironment();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 600;
    const int blocks = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), kBaud);
    if (!server)
        return 1;
    SteadyClock clock;
    const QString logPath = dir.filePath(QStringLiteral("trend.csv"));

    auto closed = std::make_unique<Panel>(dir.path(), QString());
    Panel open(dir.path(), logPath);
    if (!closed->connectForTicks())
        return 1;
    closed->form->link().CloseSerialPort();
    if (!open.connectForTicks())
        return 1;
    TrendWindow* trend = open.openWindows();
    if (!trend->recorder().logging()) {
        std::fprintf(stderr, "the trend's log did not start\n");
        return 1;
    }
    const bool ok = compareTicks(*closed, open, blocks, clock);
    hourOfTicks(*closed);
    closed.reset();
    monitorFor(open, trend, seconds, logPath);
    server->stop();
    return ok ? 0 : 1;
}
