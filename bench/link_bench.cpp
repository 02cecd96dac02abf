// How close the command link comes to the physical limit of the wire, and what a time-out costs.
//
// 1,000 queries go to a virtual instrument on a pseudo-terminal that paces both directions at
// 9600 baud (10 bits a character). The wire time of a query is the time its characters need on the
// wire: the command and its carriage return, then the answer and its line feed. The link should come
// within 5% of it. Then the instrument falls silent and the CPU time the link uses while it waits
// out its one-second time-out is measured; it should stay under 20 ms.
//
// The queries run twice, in alternating blocks of 100 so that a change in the machine's load hits
// both alike: unwatched, and with the traffic console's log watching the link, which is all the
// console costs the link. The two should not differ beyond the noise.

#include "bench_support.h"

#include "base/program_state.h"
#include "base/silent_dialogs.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "sim/pty_server.h"
#include "traffic/traffic_log.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kQueries = 1000;
constexpr int kTimeouts = 3;
constexpr int kBlock = 100;

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0;
    double wireSeconds = 0;
    int failures = 0;
};

// Adds `count` queries to `run`.
void runQueries(Run& run, int count, CommandLink& link, const ProgramState& state, const Clock& clock)
{
    const QStringList queries = {QStringLiteral(":MEAS?"), QStringLiteral(":MEAS:CURR?"),
                                 QStringLiteral(":VOLT:PROT:TRIP?"), QStringLiteral(":OUTP:STAT?"),
                                 QStringLiteral("*IDN?")};
    qint64 wireChars = 0;
    const double cpuBefore = processCpuSeconds();
    const qint64 start = clock.nanoseconds();
    for (int i = 0; i < count; ++i) {
        const QString& query = queries[i % queries.size()];
        if (!link.query(query))
            ++run.failures;
        const qsizetype answer = state.ResponseBuffer.text().trimmed().size();
        wireChars += query.size() + 1 + answer + 1;
    }
    run.seconds += double(clock.nanoseconds() - start) / 1e9;
    run.cpuSeconds += processCpuSeconds() - cpuBefore;
    run.wireSeconds += wireSeconds(wireChars, kBaud);
}

void printRun(const char* title, const Run& run)
{
    std::printf("%d queries at %d baud over a paced pty, %s (%d failed)\n", kQueries, kBaud, title,
                run.failures);
    std::printf("  measured:  %.3f ms per query (%.3f s in all), %.1f us CPU per query\n",
                1000.0 * run.seconds / kQueries, run.seconds, 1e6 * run.cpuSeconds / kQueries);
    std::printf("  wire time: %.3f ms per query (%.3f s in all)\n", 1000.0 * run.wireSeconds / kQueries,
                run.wireSeconds);
    std::printf("  overhead:  %+.2f%% of the wire time (target: within 5%%)\n",
                100.0 * (run.seconds - run.wireSeconds) / run.wireSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), kBaud);
    if (!server)
        return 1;

    ProgramState state;
    SetDefaults(state, 8);
    state.ConnectStarted = 1;
    QtSerialService serial;
    serial.setPortNumber(1);
    serial.setSettings(QStringLiteral("9600,n,8,1"));
    GpibLibraryService gpib{QString()}; // no GPIB here
    SilentDialogs dialogs;
    SilentStatus status;
    SteadyClock clock;
    CommandLink link(state, serial, gpib, dialogs, status, clock);

    link.query(QStringLiteral("*IDN?")); // opens the port
    Run plain;
    Run watched;
    TrafficLog log;
    for (int done = 0; done < kQueries; done += kBlock) {
        runQueries(plain, kBlock, link, state, clock);
        link.addObserver(&log);
        runQueries(watched, kBlock, link, state, clock);
        link.removeObserver(&log);
    }
    printRun("unwatched", plain);
    printRun("watched by the traffic log", watched);
    std::printf("  watching:  %+.2f%% time per query, %+.1f us CPU per query, sim included (%lld lines)\n",
                100.0 * (watched.seconds - plain.seconds) / plain.seconds,
                1e6 * (watched.cpuSeconds - plain.cpuSeconds) / kQueries, static_cast<long long>(log.size()));
    const int failures = plain.failures + watched.failures;

    server->setFault(sim::Fault::Silence);
    double cpu = 0;
    double waited = 0;
    for (int i = 0; i < kTimeouts; ++i) {
        const double cpuBefore = processCpuSeconds();
        const qint64 before = clock.nanoseconds();
        link.query(QStringLiteral(":MEAS?"));
        waited += double(clock.nanoseconds() - before) / 1e9;
        cpu += processCpuSeconds() - cpuBefore;
    }
    std::printf("%d time-outs: %.3f s waited each, %.3f ms CPU each (target: under 20 ms)\n", kTimeouts,
                waited / kTimeouts, 1000.0 * cpu / kTimeouts);
    server->stop();
    return failures == 0 ? 0 : 1;
}
