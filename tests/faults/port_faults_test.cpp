// Faults of the port itself: it vanishes while the panel monitors, another program holds it when the
// panel starts, and a second copy of the panel starts while the first is connected.

#include "fault_rig.h"

#include "connection/connector.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// The devices a process has open.
QStringList openDevices(qint64 pid)
{
    QStringList devices;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System))
        devices.append(QFileInfo(fds.filePath(fd)).symLinkTarget());
    return devices;
}

QProcessEnvironment panelEnvironment(const SimProcess& sim)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), sim.folder() + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("ORX_COM1"), sim.linkPath());
    for (const char* port : {"ORX_COM2", "ORX_COM3", "ORX_COM4", "ORX_GPIB_LIBRARY"})
        environment.insert(QString::fromLatin1(port), QString());
    return environment;
}

} // namespace

// The port vanishes mid-monitoring: no hang, the loop stops and says so, the panel goes idle, and a
// reconnect finds the instrument again once it is back.
TEST(PortFaults, PortVanishingWhileMonitoringStopsTheLoopAndSaysSo)
{
    FaultRig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.startMonitoring());
    ASSERT_TRUE(rig.sim.command(QStringLiteral("unplug")));
    EXPECT_TRUE(rig.waitFor([&] { return !rig.form->timer1().isActive(); }, 5000));
    EXPECT_EQ(rig.c().SBar1->panelText(1), "Communication error");
    EXPECT_LT(rig.cpuShareWhileIdle(1500), 0.02) << "nothing keeps trying";
    EXPECT_TRUE(rig.dialogs.messages.isEmpty()) << "after the connect, time-outs are silent";

    ASSERT_TRUE(rig.sim.command(QStringLiteral("replug")));
    rig.c().output->select(0);
    rig.form->connector().StartConnect();
    rig.form->timer2().stop();
    rig.form->connector().Timer2_Timer();
    EXPECT_EQ(rig.state.ConnectDone, 1);
}

// Another program holds the only port when the panel starts: the panel says so (it is not mistaken
// for a port without an instrument), writes nothing to it and ends as it does without an interface.
TEST(PortFaults, PortHeldByAnotherProgramAtStartIsReported)
{
    FaultRig rig;
    QProcess holder;
    holder.start(QStringLiteral(ORX_PORT_HOLDER_PATH), {rig.sim.linkPath()});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    ASSERT_EQ(holder.readLine().trimmed(), "held");

    EXPECT_FALSE(rig.form->load());
    EXPECT_EQ(rig.dialogs.messages,
              (QList<ScriptedDialogs::Message>{
                  {"COM1 is in use by another program. It is left out of the search.", "Warning"},
                  {"Not valid connecting interface!", ""}}));
    EXPECT_TRUE(rig.sim.received().isEmpty());
    holder.kill();
    holder.waitForFinished();
}

// A second copy started while the first is connected ends without ever opening a port; the first
// copy keeps its connection.
TEST(PortFaults, SecondCopyNeverOpensAPort)
{
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(QDir(sim.folder()).mkdir(QStringLiteral("runtime")));
    QFile::setPermissions(sim.folder() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess first, second;
    for (QProcess* panel : {&first, &second})
        panel->setProcessEnvironment(panelEnvironment(sim));
    first.start(QStringLiteral(ORX_PANEL_PATH), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.received().size() >= 15; }, 20000)) << "the first connects";
    const qsizetype linesBefore = sim.received().size();

    second.start(QStringLiteral(ORX_PANEL_PATH), {});
    ASSERT_TRUE(second.waitForStarted(5000));
    bool openedThePort = false;
    for (int i = 0; i < 20 && second.state() == QProcess::Running; ++i) {
        for (const QString& device : openDevices(second.processId()))
            openedThePort = openedThePort || device == sim.devicePath();
        QTest::qWait(100);
    }
    EXPECT_FALSE(openedThePort);
    EXPECT_EQ(sim.received().size(), linesBefore) << "nothing reached the instrument";
    EXPECT_EQ(first.state(), QProcess::Running);
    for (QProcess* panel : {&second, &first}) {
        panel->kill();
        panel->waitForFinished();
    }
}
