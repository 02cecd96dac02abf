// How close the command link comes to the physical limit of the wire, and what a time-out costs.
//
// 1,000 queries go to a virtual instrument on a pseudo-terminal that paces both directions at
// 9600 baud (10 bits a character). The wire time of a query is the time its characters need on the
// wire: the command and its carriage return, then the answer and its line feed. The link should come
// within 5% of it. Then the instrument falls silent and the CPU time the link uses while it waits
// out its one-second time-out is measured; it should stay under 20 ms.

#include "app/program_state.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "paced_instrument.h"
#include "ui/dialogs.h"
#include "ui/status_panels.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

using namespace orx;

namespace {

class NoDialogs : public Dialogs
{
public:
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&, const QString& d) override { return d; }
    QString openFileName(const QString&) override { return {}; }
    QString saveFileName(const QString&) override { return {}; }
    bool openDocument(const QString&) override { return false; }
};

class NoStatus : public StatusPanels
{
public:
    void setPanelText(int, const QString&) override {}
    QString panelText(int) const override { return {}; }
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

constexpr int kBaud = 9600;
constexpr int kQueries = 1000;
constexpr int kTimeouts = 3;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto server = bench::startPacedInstrument(dir, kBaud, 10.0);
    if (!server)
        return 1;

    ProgramState state;
    SetDefaults(state, 8);
    state.ConnectStarted = 1;
    QtSerialService serial;
    serial.setPortNumber(1);
    serial.setSettings(QStringLiteral("9600,n,8,1"));
    GpibLibraryService gpib{QString()}; // no GPIB here
    NoDialogs dialogs;
    NoStatus status;
    SteadyClock clock;
    CommandLink link(state, serial, gpib, dialogs, status, clock);

    const QStringList queries = {QStringLiteral(":MEAS?"), QStringLiteral(":MEAS:CURR?"),
                                 QStringLiteral(":VOLT:PROT:TRIP?"), QStringLiteral(":OUTP:STAT?"),
                                 QStringLiteral("*IDN?")};
    link.query(QStringLiteral("*IDN?")); // opens the port
    qint64 wireChars = 0;
    int failures = 0;
    const qint64 start = clock.nanoseconds();
    for (int i = 0; i < kQueries; ++i) {
        const QString& query = queries[i % queries.size()];
        if (!link.query(query))
            ++failures;
        const qsizetype answer = state.ResponseBuffer.text().trimmed().size();
        wireChars += query.size() + 1 + answer + 1;
    }
    const double elapsed = double(clock.nanoseconds() - start) / 1e9;
    const double wire = double(wireChars) * 10.0 / kBaud;
    std::printf("%d queries at %d baud over a paced pty (%d failed)\n", kQueries, kBaud, failures);
    std::printf("  measured:  %.3f ms per query (%.3f s in all)\n", 1000.0 * elapsed / kQueries, elapsed);
    std::printf("  wire time: %.3f ms per query (%.3f s in all)\n", 1000.0 * wire / kQueries, wire);
    std::printf("  overhead:  %+.2f%% of the wire time (target: within 5%%)\n",
                100.0 * (elapsed - wire) / wire);

    server->setFault(sim::Fault::Silence);
    double cpu = 0;
    double waited = 0;
    for (int i = 0; i < kTimeouts; ++i) {
        const double cpuBefore = cpuSeconds();
        const qint64 before = clock.nanoseconds();
        link.query(QStringLiteral(":MEAS?"));
        waited += double(clock.nanoseconds() - before) / 1e9;
        cpu += cpuSeconds() - cpuBefore;
    }
    std::printf("%d time-outs: %.3f s waited each, %.3f ms CPU each (target: under 20 ms)\n", kTimeouts,
                waited / kTimeouts, 1000.0 * cpu / kTimeouts);
    server->stop();
    return failures == 0 ? 0 : 1;
}
