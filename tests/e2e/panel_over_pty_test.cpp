// The panel program itself, started as an operator would, finding orx-sim behind COM2.

#include "support/sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace orx::test;

namespace {

// The last command of a connect: after it the panel is connected.
const QString kLastConnectCommand = QStringLiteral(":OUTP:STAT?");

bool waitForLine(const SimProcess& sim, const QString& line, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        for (const QString& received : sim.received()) {
            if (received.endsWith(line))
                return true;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace

TEST(PanelOverPty, FindsTheInstrumentAndReadsItsState)
{
    SimProcess sim({QStringLiteral("--baud"), QStringLiteral("2400"), QStringLiteral("--model"),
                    QStringLiteral("ORX-C300")});
    ASSERT_TRUE(sim.started());
    QDir(sim.folder()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(sim.folder() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QProcess panel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), sim.folder() + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("ORX_COM1"), QString());
    environment.insert(QStringLiteral("ORX_COM2"), sim.linkPath());
    environment.insert(QStringLiteral("ORX_COM3"), QString());
    environment.insert(QStringLiteral("ORX_COM4"), QString());
    environment.insert(QStringLiteral("ORX_GPIB_LIBRARY"), QString());
    panel.setProcessEnvironment(environment);
    panel.start(QStringLiteral(ORX_PANEL_PATH), {});
    ASSERT_TRUE(panel.waitForStarted(5000));

    const bool connected = waitForLine(sim, kLastConnectCommand, 20000);
    panel.terminate();
    panel.waitForFinished(5000);
    ASSERT_TRUE(connected) << sim.received().join(u'\n').toStdString();

    const QStringList received = sim.received();
    QStringList identities;
    for (const QString& line : received) {
        if (line.endsWith(QStringLiteral("*IDN?")))
            identities.append(line);
    }
    EXPECT_EQ(identities, QStringList({"9600 *IDN?", "4800 *IDN?", "2400 *IDN?"}));
    EXPECT_EQ(received.last(), QStringLiteral("2400 ") + kLastConnectCommand);
}
