// A real, independent client of the remote socket: the example PyVISA script sweeps the voltage
// through the panel program, started as an operator starts it with --remote-port, while the panel
// holds orx-sim's pty.

#include "fault_rig.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx::test;

TEST(RemoteClient, TheExampleSweepsTheVoltageThroughThePanelProgram)
{
    SimProcess sim({QStringLiteral("--load"), QStringLiteral("10")});
    ASSERT_TRUE(sim.started());
    QTcpServer free;
    ASSERT_TRUE(free.listen(QHostAddress::LocalHost));
    const QString port = QString::number(free.serverPort());
    free.close();
    QProcess panel;
    panel.setProcessEnvironment(panelEnvironment(sim));
    panel.start(QStringLiteral(ORX_PANEL_PATH), {QStringLiteral("--remote-port"), port});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.received().join(u'\n').endsWith(":OUTP:STAT?"); }, 20000));

    const QString csv = sim.folder() + QStringLiteral("/sweep.csv");
    QProcess script;
    // Debian's Python, where Debian's PyVISA lives.
    script.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(ORX_EXAMPLES_DIR "/voltage_sweep.py"), "--resource",
                  "TCPIP::127.0.0.1::" + port + "::SOCKET", "--start", "1", "--stop", "4", "--steps", "4",
                  "--settle", "0.1", "--out", csv});
    ASSERT_TRUE(script.waitForFinished(60000));
    EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Constant voltage into the 10-ohm load: the set voltage and a tenth of it in amperes.
    EXPECT_EQ(file.readAll(), "set_V,measured_V,measured_A\r\n1.000,1.000,0.100\r\n2.000,2.000,0.200\r\n"
                              "3.000,3.000,0.300\r\n4.000,4.000,0.400\r\n");
    EXPECT_EQ(sim.received().filter(QRegularExpression("^\\d+ :VOLT \\d")),
              QStringList({"9600 :VOLT 1.000", "9600 :VOLT 2.000", "9600 :VOLT 3.000", "9600 :VOLT 4.000"}));
    panel.kill();
    panel.waitForFinished();
}
