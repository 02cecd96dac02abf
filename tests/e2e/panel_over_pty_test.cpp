// The panel program itself, started as an operator would, finding orx-sim behind COM2.

#include "support/sim_process.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx::test;

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
    for (int port = 1; port <= 4; ++port)
        environment.insert(QStringLiteral("ORX_COM%1").arg(port), port == 2 ? sim.linkPath() : QString());
    environment.insert(QStringLiteral("ORX_GPIB_LIBRARY"), QString());
    panel.setProcessEnvironment(environment);
    panel.start(QStringLiteral(ORX_PANEL_PATH), {});
    ASSERT_TRUE(panel.waitForStarted(5000));

    // The last command of a connect: after it the panel is connected.
    const QString lastConnectCommand = QStringLiteral(":OUTP:STAT?");
    const bool connected =
        QTest::qWaitFor([&] { return !sim.received().filter(lastConnectCommand).isEmpty(); }, 20000);
    panel.terminate();
    panel.waitForFinished(5000);
    ASSERT_TRUE(connected) << sim.received().join(u'\n').toStdString();

    const QStringList received = sim.received();
    EXPECT_EQ(received.filter(QStringLiteral("*IDN?")),
              QStringList({"9600 *IDN?", "4800 *IDN?", "2400 *IDN?"}));
    EXPECT_EQ(received.last(), QStringLiteral("2400 ") + lastConnectCommand);
}
