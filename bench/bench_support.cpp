#include "bench_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
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

std::unique_ptr<sim::PtyServer> startPacedInstrument(const QString& folder, int baud, int lateMs)
{
    sim::PtyOptions options;
    options.baud = baud;
    options.paced = true;
    options.loadOhms = 10.0;
    options.linkPath = QDir(folder).filePath(QStringLiteral("orx"));
    options.fault = lateMs > 0 ? sim::Fault::Late : sim::Fault::None;
    options.lateMs = lateMs > 0 ? lateMs : options.lateMs;
    auto server = std::make_unique<sim::PtyServer>(options);
    QString error;
    if (!server->start(&error)) {
        std::fprintf(stderr, "cannot start the virtual instrument: %s\n", qPrintable(error));
        return nullptr;
    }
    qputenv("ORX_COM1", options.linkPath.toLocal8Bit());
    return server;
}

void useHeadlessPanelEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* port : {"ORX_COM2", "ORX_COM3", "ORX_COM4"})
        qputenv(port, QByteArray());
}

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

void runEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double runEventsUntil(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer wall;
    wall.start();
    while (!done()) {
        if (wall.elapsed() > maxMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return double(wall.nsecsElapsed()) / 1e9;
}

void FileDialogs::messageBox(const QString& text, const QString&)
{
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    ++messages;
}

} // namespace orx::bench
