#include "bench_support.h"

#include <cstdio>
#include <ctime>

namespace orx::bench {
namespace {

double seconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

std::unique_ptr<sim::PtyServer> startPacedInstrument(const QTemporaryDir& dir, int baud,
                                                     std::optional<double> loadOhms)
{
    sim::PtyOptions options;
    options.baud = baud;
    options.paced = true;
    options.loadOhms = loadOhms;
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    auto server = std::make_unique<sim::PtyServer>(options);
    QString error;
    if (!server->start(&error)) {
        std::fprintf(stderr, "cannot start the virtual instrument: %s\n", qPrintable(error));
        return nullptr;
    }
    qputenv("ORX_COM1", options.linkPath.toLocal8Bit());
    for (const char* other : {"ORX_COM2", "ORX_COM3", "ORX_COM4"})
        qputenv(other, QByteArray());
    return server;
}

double processCpuSeconds()
{
    return seconds(CLOCK_PROCESS_CPUTIME_ID);
}

double threadCpuSeconds()
{
    return seconds(CLOCK_THREAD_CPUTIME_ID);
}

} // namespace orx::bench
