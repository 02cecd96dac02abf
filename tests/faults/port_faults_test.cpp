// Faults of the port itself: another program holds it when the panel starts, and a second copy of the
// panel program starts while the first, run as an operator runs it, is connected.

#include "fault_rig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
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

} // namespace

// Another program holds the only port when the panel starts: the panel says so (it is not mistaken
// for a port without an instrument), writes nothing to it and ends as it does without an interface.
TEST(PortFaults, PortHeldByAnotherProgramAtStartIsReported)
{
    FaultRig rig;
    QSerialPort holder(rig.sim.linkPath()); // held as another program holds it: by the port's lock file
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    EXPECT_FALSE(rig.form->load());
    EXPECT_EQ(rig.dialogs.messages,
              (QList<ScriptedDialogs::Message>{
                  {"COM1 is in use by another program. It is left out of the search.", "Warning"},
                  {"Not valid connecting interface!", ""}}));
    EXPECT_TRUE(rig.sim.received().isEmpty());
}

// The panel program itself, started as an operator would, finds orx-sim behind COM2 at its baud rate.
// A second copy started while the first is connected ends without ever opening a port; the first
// copy keeps its connection.
TEST(PortFaults, TheProgramConnectsAndASecondCopyNeverOpensAPort)
{
    SimProcess sim({QStringLiteral("--baud"), QStringLiteral("2400")});
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(QDir(sim.folder()).mkdir(QStringLiteral("runtime")));
    QFile::setPermissions(sim.folder() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess first, second;
    for (QProcess* panel : {&first, &second})
        panel->setProcessEnvironment(panelEnvironment(sim));
    first.start(QStringLiteral(ORX_PANEL_PATH), {});
    // A connect ends with the output state; the instrument's output is off, so nothing follows it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.received().join(u'\n').endsWith(":OUTP:STAT?"); }, 20000))
        << "the first connects: " << sim.received().join(u'\n').toStdString();
    EXPECT_EQ(sim.received().filter(QStringLiteral("*IDN?")),
              QStringList({"9600 *IDN?", "4800 *IDN?", "2400 *IDN?"}));
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
    EXPECT_EQ(sim.received().size(), linesBefore) << sim.received().join(u'\n').toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    for (QProcess* panel : {&second, &first}) {
        panel->kill();
        panel->waitForFinished();
    }
}
