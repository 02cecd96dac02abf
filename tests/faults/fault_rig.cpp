#include "fault_rig.h"

#include "connection/connector.h"
#include "link/command_link.h"
#include "panel/monitoring_loop.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <ctime>

namespace orx::test {
namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

FaultRig::FaultRig(const QStringList& simOptions) : sim(simOptions)
{
    qputenv("ORX_COM1", sim.linkPath().toLocal8Bit());
    initialiseAtStart(state, sim.folder());
    form = std::make_unique<Form1>(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                                        [] {
                                                        }});
    form->link().addObserver(&wire);
    QObject::connect(&form->monitoring(), &MonitoringLoop::ticked, [this] { ++ticks; });
}

FaultRig::~FaultRig()
{
    form->link().removeObserver(&wire);
    form.reset();
    qputenv("ORX_COM1", QByteArray());
}

bool FaultRig::connect()
{
    if (!sim.started() || !form->load())
        return false;
    form->timer2().stop();
    form->connector().Timer2_Timer();
    return state.ConnectDone == 1;
}

bool FaultRig::startMonitoring(double volts)
{
    c().setv->setValue(volts);
    emit c().setv->keyReleased();
    c().output->select(1);
    const int before = ticks;
    return QTest::qWaitFor([&] { return ticks > before; }, 3000);
}

QProcessEnvironment panelEnvironment(const SimProcess& sim)
{
    const QString runtime = sim.folder() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    for (int port = 1; port <= 4; ++port)
        environment.insert(QStringLiteral("ORX_COM%1").arg(port), port == 2 ? sim.linkPath() : QString());
    environment.insert(QStringLiteral("ORX_GPIB_LIBRARY"), QString());
    return environment;
}

namespace {

// Runs the event loop for `ms`, sleeping until the panel has something to do: QTest::qWait would
// wake the thread every few milliseconds itself and count its own polling as the panel's work.
void sleepInEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

double FaultRig::cpuShareWhileIdle(int ms)
{
    sleepInEvents(1000); // one-time work after a fault (a report, a redraw) is not what is measured
    const double before = threadCpuSeconds();
    sleepInEvents(ms);
    return (threadCpuSeconds() - before) / (ms / 1000.0);
}

} // namespace orx::test
