#include "bench_support.h"

#include <QFile>
#include <ctime>

namespace orx::bench {
namespace {

double seconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// A "Name:   1234 kB" line of /proc/self/status.
long statusKilobytes(const QByteArray& name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace

long residentKilobytes()
{
    return statusKilobytes("VmRSS");
}

long peakResidentKilobytes()
{
    return statusKilobytes("VmHWM");
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
