#include "support/panel_harness.h"

#include "ui/form2.h"
#include "ui/pending_events.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

const QStringList kReadBackOrder = {
    ":MEAS?",           ":MEAS:CURR?",     ":VOLT?",           ":CURR?",      ":CURR:PROT:TRIP?",
    ":VOLT:PROT:TRIP?", ":VOLT:PROT?",     ":VOLT:PROT:STAT?", ":CURR:PROT?", ":CURR:PROT:STAT?",
    "SYST:AUTO:STAR?",  "SYST:AUTO:CEAS?", "SYST:AUTO:CYCL?",  "SYST:AUTO?",  ":OUTP:STAT?"};

// The commands after the one that identified the instrument.
QStringList afterIdentity(const QStringList& commands)
{
    return commands.mid(commands.lastIndexOf(QStringLiteral("*IDN?")) + 1);
}

struct SerialOnly : PanelHarness
{
    sim::Instrument orx{0};
    SerialOnly() { gpib.setInterfaceAvailable(false); }
};

} // namespace

TEST(Connect, SerialSearchTriesPortsInOrderAtEveryBaudRate)
{
    SerialOnly h;
    h.serial.addEmptyPort(1);
    h.serial.attachInstrument(3, &h.orx, 2400);
    int eventPasses = 0;
    setPendingEventsObserver([&] { ++eventPasses; });
    h.connected();
    setPendingEventsObserver({});

    EXPECT_EQ(h.serial.lines().filter(QStringLiteral(": *IDN?")),
              QStringList({"COM1 9600,n,8,1: *IDN?", "COM1 4800,n,8,1: *IDN?", "COM1 2400,n,8,1: *IDN?",
                           "COM1 1200,n,8,1: *IDN?", "COM3 9600,n,8,1: *IDN?", "COM3 4800,n,8,1: *IDN?",
                           "COM3 2400,n,8,1: *IDN?"}));
    EXPECT_EQ(h.serial.commands().count(QStringLiteral("*CLS")), 7) << "each attempt clears first";
    EXPECT_EQ(eventPasses, 7) << "pending events run once per attempt";
    EXPECT_EQ(h.c().SBar1->panelText(2), "COM3: 2400,n,8,1");
    EXPECT_EQ(h.c().port->currentText(), "COM3");
    EXPECT_EQ(h.c().baud->currentText(), "2400");
    EXPECT_TRUE(h.c().mnucom[2]->isChecked());
    EXPECT_EQ(h.c().SBar1->panelText(1), "Ready");
    EXPECT_TRUE(h.dialogs.messages.isEmpty()) << "single time-outs during the search stay silent";
    EXPECT_EQ(afterIdentity(h.serial.commands()), QStringList{"SYST:ERR?"} + kReadBackOrder);
    EXPECT_EQ(h.form->findChildren<Form2*>().size(), 0) << "the progress dialog is gone";
}

TEST(Connect, GpibSearchFollowsAFailedSerialSearch)
{
    PanelHarness h;
    sim::Instrument orx(2);
    h.gpib.attachInstrument(5, &orx);
    h.createAndLoad();
    h.gpib.clearLog();
    h.runConnect();
    QStringList expected;
    for (int address = 0; address <= 5; ++address) {
        const QString device = QStringLiteral("GPIB%1").arg(address);
        expected += {QStringLiteral("address %1").arg(address),
                     "apply",
                     device + ": *CLS",
                     device + ": *IDN?",
                     "read " + device,
                     "local " + device};
    }
    QStringList log = h.gpib.log();
    for (QString& line : log)
        line.remove(QStringLiteral(" failed"));
    EXPECT_EQ(log.mid(0, expected.size()), expected);
    EXPECT_EQ(h.c().gpibaddr->text(), "5");
    EXPECT_EQ(h.state.GpibAddress, 5);
    EXPECT_TRUE(h.c().con->isSelected(0)) << "the rest of GPIB mode: interface_choice_test";
    EXPECT_EQ(h.state.ModelIndex, 2);
    EXPECT_EQ(afterIdentity(h.gpib.commands()), kReadBackOrder);
}

TEST(Connect, ModelComesFromTheIdentityAnswer)
{
    const struct
    {
        const char* name;
        QByteArray identity; // what the instrument on COM1 answers
        bool connects;
        int modelIndex; // after a first connect to an ORX-C300
        const char* panel3;
    } cases[] = {
        {"ORX-B200", "QZ.Inc,ORX-B200,SN7,2.1", true, 1, "ORX-B200"},
        {"unknown ORX model keeps the previous one", "QZ.Inc,ORX-Z900,SN7,2.1", true, 2, "ORX-Z900"},
        {"prefix differing in case", "Qz.Inc,ORX-B200,SN7,2.1", false, 2, "ORX-C300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SerialOnly h;
        sim::Instrument c300(2);
        h.serial.attachInstrument(1, &c300, 9600);
        h.connected();
        ASSERT_EQ(h.state.ModelIndex, 2);
        h.rewriting.replace(c300.identity().toLatin1(), c.identity);
        h.c().cmd_reconnect->click();
        EXPECT_EQ(h.state.ConnectDone, 0);
        EXPECT_TRUE(h.form->timer2().isActive());
        h.runConnect();
        EXPECT_EQ(h.state.ConnectDone, c.connects ? 1 : 0);
        EXPECT_EQ(h.state.ModelIndex, c.modelIndex);
        EXPECT_EQ(h.c().SBar1->panelText(3), c.panel3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(h.c().deviceItem(i)->isChecked(), i == c.modelIndex) << i;
        EXPECT_EQ(h.dialogs.messages.size(), c.connects ? 0 : 1);
        EXPECT_EQ(h.c().Frame2->isEnabled(), c.connects);
    }
}

// One message after a failed first connect (its words, and the panel's state table: interface_choice_test
// and panel_states_test); the Edit and Device menus stay off, and the interface controls do nothing.
TEST(Connect, AfterAFailedFirstConnectTheMenusStayOffAndTheInterfaceControlsAreInert)
{
    PanelHarness h;
    sim::Instrument orx(0);
    h.gpib.attachInstrument(8, &orx);
    h.serial.addEmptyPort(1);
    h.gpib.setFault(sim::Fault::Silence);
    h.connected();
    ASSERT_EQ(h.state.ConnectDone, 0);
    EXPECT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.state.LinkError, 1);
    EXPECT_TRUE(h.c().optaction->isSelected(0));
    for (QMenu* m : {h.c().mnufile, h.c().mnudevice})
        EXPECT_FALSE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
    h.gpib.clearLog();
    h.c().con->select(0);
    h.c().gpibaddr->setText(QStringLiteral("31"));
    EXPECT_EQ(h.c().gpibaddr->text(), "31");
    EXPECT_TRUE(h.gpib.log().isEmpty());
}

// A reconnect while monitoring: no tick runs during the search, the limits of the newly found model
// hold every field at once without a send, and monitoring resumes with the output found on.
TEST(Connect, ReconnectPausesMonitoringAndAppliesTheNewModelsLimits)
{
    PanelHarness h;
    sim::Instrument c300(2), a100(0);
    for (sim::Instrument* orx : {&c300, &a100}) {
        orx->setLoadOhms(10);
        orx->handleLine(QStringLiteral(":OUTP:STAT 1"), 0);
    }
    h.gpib.attachInstrument(5, &c300);
    h.connected();
    ASSERT_TRUE(h.c().output->isSelected(1));
    ASSERT_TRUE(h.form->timer1().isActive());
    h.c().vm->setValue(50);
    h.c().ovpm->setValue(60);

    h.gpib.attachInstrument(5, &a100);
    h.gpib.clearLog();
    h.c().cmd_reconnect->click();
    QList<bool> tickingDuringSearch;
    setPendingEventsObserver([&] { tickingDuringSearch.append(h.form->timer1().isActive()); });
    h.runConnect();
    setPendingEventsObserver({});

    EXPECT_FALSE(tickingDuringSearch.isEmpty());
    EXPECT_FALSE(tickingDuringSearch.contains(true));
    EXPECT_EQ(h.state.ModelIndex, 0);
    EXPECT_EQ(h.c().vm->value(), double(20.6f));
    EXPECT_EQ(h.c().ovpm->value(), double(22.0f));
    EXPECT_EQ(afterIdentity(h.gpib.commands()), kReadBackOrder) << "limits are applied without a send";
    EXPECT_TRUE(h.form->timer1().isActive()) << "monitoring resumes";
}
